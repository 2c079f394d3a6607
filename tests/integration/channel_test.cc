// The host channel: which connection is which, framing of incoming messages, and what
// the host does when the controlling process goes away. The last tests check the
// controller library itself against a scripted peer.
#include <stdio.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";

using ChannelTest = HostTest;

std::vector<std::string> todoLines(const HostProcess& host) {
  std::vector<std::string> found;
  for (const std::string& line : host.stdoutLines()) {
    if (line.rfind("TODO: Handle MSG", 0) == 0) found.push_back(line);
  }
  return found;
}

TEST_F(ChannelTest, FirstConnectionIsTheCommandConnection) {
  ASSERT_TRUE(startHost({kDocument}));
  ASSERT_TRUE(host->waitForStdoutLine("DIDCREATE")) << host->error();
  // The host never reads the reply connection unasked: this code must not show up.
  ASSERT_TRUE(channel.sendReply({77})) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({99})) << channel.lastError();
  auto line = host->waitForStdoutLine("TODO: Handle MSG");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "TODO: Handle MSG 99");

  // An unknown code has no payload: the next four bytes are the next code.
  ASSERT_TRUE(channel.sendWords({20, 21})) << channel.lastError();
  channel.closeCommand();
  ASSERT_TRUE(host->waitForExit()) << host->error();
  EXPECT_EQ(todoLines(*host),
            (std::vector<std::string>{"TODO: Handle MSG 99", "TODO: Handle MSG 20",
                                      "TODO: Handle MSG 21"}));
}

TEST_F(ChannelTest, KnownMessagesAreReadWholeEvenWhenSplit) {
  ASSERT_TRUE(startHost({kDocument}));
  ASSERT_TRUE(host->waitForStdoutLine("DIDCREATE")) << host->error();
  // A screen-size message in one piece, then one trickling in a byte at a time, then a
  // time-zone message: none of their payload words may be taken for a code.
  ASSERT_TRUE(channel.sendWords({MSG_SCREEN_SIZE, 20, 21, 22})) << channel.lastError();
  std::vector<uint8_t> bytes = encodeWords({MSG_SCREEN_SIZE, 1920, 1080, 99});
  for (uint8_t byte : bytes) {
    ASSERT_TRUE(channel.sendRaw(&byte, 1)) << channel.lastError();
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
  }
  ASSERT_TRUE(channel.sendWords({MSG_TIME_ZONE_OFFSET, 23, 24})) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({25})) << channel.lastError();
  auto line = host->waitForStdoutLine("TODO: Handle MSG");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "TODO: Handle MSG 25");

  channel.closeCommand();
  ASSERT_TRUE(host->waitForExit()) << host->error();
  EXPECT_EQ(todoLines(*host), std::vector<std::string>{"TODO: Handle MSG 25"});
}

// CPU time (user + system) a process has used, from /proc.
std::optional<double> cpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  for (int index = 3; index <= 15 && fields >> field; ++index) {
    if (index == 14) utime = std::stoull(field);
    if (index == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

TEST_F(ChannelTest, IdleHostSleepsAndClosingTheCommandConnectionEndsIt) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "noop"}));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN noop")) << host->error();

  auto before = cpuSeconds(host->pid());
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  auto after = cpuSeconds(host->pid());
  ASSERT_TRUE(before && after);
  EXPECT_LT(*after - *before, 0.2) << "the idle host used CPU time";

  channel.closeCommand();
  auto status = host->waitForExit();
  ASSERT_TRUE(status) << host->error();
  EXPECT_TRUE(status->success()) << status->describe() << "\n" << host->describeOutput();
  auto lines = host->stderrLines();
  ASSERT_EQ(lines.size(), 1u) << host->describeOutput();
  EXPECT_NE(lines[0].find("command connection"), std::string::npos) << lines[0];
}

TEST_F(ChannelTest, ClosedReplyConnectionLeavesTheCommandConnectionWorking) {
  ASSERT_TRUE(startHost({kDocument}));
  ASSERT_TRUE(host->waitForStdoutLine("DIDCREATE")) << host->error();
  channel.closeReply();
  ASSERT_TRUE(channel.sendWords({20})) << channel.lastError();
  ASSERT_TRUE(host->waitForStdoutLine("TODO: Handle MSG 20")) << host->error();
  EXPECT_TRUE(host->running());
}

// The controller library against a scripted peer in place of the host.
class HostChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(isolateNetwork(&error)) << error;
    ASSERT_TRUE(channel.listen()) << channel.lastError();
    command = connectPeer();
    reply = connectPeer();
    ASSERT_TRUE(command >= 0 && reply >= 0);
    ASSERT_TRUE(channel.acceptBoth(std::chrono::milliseconds(2000))) << channel.lastError();
  }
  void TearDown() override {
    if (command >= 0) close(command);
    if (reply >= 0) close(reply);
  }

  static int connectPeer() {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    memcpy(addr.sun_path, "\0zema", 6);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), 8) != 0) {
      close(fd);
      return -1;
    }
    return fd;
  }
  void peerWrite(int fd, const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  HostChannel channel;
  int command = -1;
  int reply = -1;
};

TEST_F(HostChannelTest, ReadsFixedBlocksByCodeAndTrailingDataOnRequest) {
  // A cursor message split in two writes, then a navigate message with 5 bytes after it.
  std::vector<uint8_t> cursor = encodeWords({MSG_SET_CURSOR, 7, 0xdeadbeef});
  peerWrite(command, {cursor.begin(), cursor.begin() + 6});
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    peerWrite(command, {cursor.begin() + 6, cursor.end()});
  });
  auto message = channel.expect(MSG_SET_CURSOR);
  later.join();
  ASSERT_TRUE(message) << channel.lastError();
  EXPECT_EQ(message->fixed.size(), 12u);
  EXPECT_EQ(message->word(4), 7u);
  EXPECT_EQ(message->i32(8), static_cast<int32_t>(0xdeadbeef));
  EXPECT_THROW(message->word(12), std::out_of_range);
  EXPECT_THROW(message->word(SIZE_MAX - 1), std::out_of_range);

  std::vector<uint8_t> navigate = encodeWords({MSG_NAVIGATE, 5, floatBits(1.5f), 0});
  navigate.insert(navigate.end(), {'h', 'e', 'l', 'l', 'o'});
  peerWrite(command, navigate);
  message = channel.receive([](const HostMessage& m) { return size_t{m.word(4)}; });
  ASSERT_TRUE(message) << channel.lastError();
  EXPECT_EQ(message->code, MSG_NAVIGATE);
  EXPECT_EQ(message->f32(8), 1.5f);
  EXPECT_EQ(message->trailingText(), "hello");
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(20))) << channel.lastError();
}

TEST_F(HostChannelTest, MisbehavingPeerGivesErrorsNotHangs) {
  peerWrite(command, encodeWords({65}));
  EXPECT_FALSE(channel.receive());
  EXPECT_NE(channel.lastError().find("unknown message code 65"), std::string::npos)
      << channel.lastError();

  // A truncated block times out; a wrong code is named.
  peerWrite(command, encodeWords({MSG_SET_CURSOR, 1}));
  EXPECT_FALSE(channel.receive(std::chrono::milliseconds(50)));
  EXPECT_NE(channel.lastError().find("timed out"), std::string::npos) << channel.lastError();
  peerWrite(command, encodeWords({MSG_AUDIO_STOP, 1, 2}));
  EXPECT_FALSE(channel.expect(MSG_FLUSH_2D));
  EXPECT_NE(channel.lastError().find("MSG_AUDIO_STOP"), std::string::npos) << channel.lastError();

  // An absurd trailing length is refused without allocating it.
  channel.setTrailingLimit(1024);
  EXPECT_FALSE(channel.readTrailing(SIZE_MAX));

  // End of stream in the middle of a block.
  peerWrite(command, encodeWords({MSG_SET_CURSOR}));
  close(command);
  command = -1;
  EXPECT_FALSE(channel.receive());
  EXPECT_NE(channel.lastError().find("closed"), std::string::npos) << channel.lastError();
}

TEST_F(HostChannelTest, RepliesGoToTheSecondConnection) {
  ASSERT_TRUE(channel.sendReply({1, 42, 0}, std::vector<uint8_t>{'o', 'k'})) << channel.lastError();
  ASSERT_TRUE(channel.sendWords({MSG_SCREEN_SIZE, 1, 2, 3})) << channel.lastError();
  uint8_t buffer[16];
  ASSERT_EQ(read(reply, buffer, 14), 14);
  EXPECT_EQ(buffer[4], 42);
  EXPECT_EQ(buffer[12], 'o');
  ASSERT_EQ(read(command, buffer, 16), 16);
  EXPECT_EQ(buffer[0], MSG_SCREEN_SIZE);
  close(command);
  command = -1;
  EXPECT_TRUE(channel.waitForClose(std::chrono::milliseconds(1000))) << channel.lastError();
}

}  // namespace
