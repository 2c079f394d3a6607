// Messages sent on the command connection from several threads at once.
#include "host/channel.h"

#include <thread>

#include "host_fixture.h"

using Channel = HostFixture;

// Each thread sends messages whose every byte names the thread: a message that arrives
// with bytes of another thread's inside it was interleaved.
TEST_F(Channel, MessagesFromSeveralThreadsArriveWhole) {
  constexpr int kThreads = 3, kMessages = 3000;
  constexpr size_t kTrailing = 3000;  // several pieces per write on a busy socket
  std::vector<std::thread> senders;
  for (int t = 0; t < kThreads; ++t) {
    senders.emplace_back([t] {
      // A 16-byte block whose every word is the thread's pattern.
      uint32_t pattern = 0x01010101u * static_cast<uint32_t>(t + 1);
      zema::protocol::Flush2D fixed{
          .code = pattern, .callbackNumber = pattern, .byteCount = pattern, .reserved = pattern};
      std::vector<uint8_t> trailing(kTrailing, static_cast<uint8_t>(t + 1));
      for (int i = 0; i < kMessages; ++i)
        pluginInstance->send(fixed, {{trailing.data(), trailing.size()}});
    });
  }
  int whole = 0;
  std::vector<uint8_t> message(16 + kTrailing);
  for (int i = 0; i < kThreads * kMessages; ++i) {
    ASSERT_EQ(readFully(command_[1], message.data(), message.size()), ReadResult::kOk);
    if (std::count(message.begin(), message.end(), message[0]) ==
        static_cast<std::ptrdiff_t>(message.size()))
      ++whole;
  }
  for (auto& s : senders) s.join();
  EXPECT_EQ(whole, kThreads * kMessages);
}
