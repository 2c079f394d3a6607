// Audio output through the real host: what the first update sends, pacing against real
// time, start order, stop and restart, and streams destroyed while playing.
#include <chrono>
#include <cstring>

#include "tests/support/host_test.h"

namespace {

constexpr char kDocument[] = "http://example.org/page.html";
constexpr uint32_t kRate = 44100, kFrames = 1024;

using AudioTest = HostTest;
using Clock = std::chrono::steady_clock;

std::optional<HostMessage> receiveAudio(
    HostChannel& channel, HostChannel::Timeout timeout = HostChannel::kDefaultTimeout) {
  return channel.receive(
      [](const HostMessage& m) { return m.code == MSG_AUDIO_SAMPLES ? size_t{m.word(8)} : 0; },
      timeout);
}

uint32_t callNumber(const HostMessage& samples) {
  uint32_t n = 0;
  if (samples.trailing.size() >= 4) memcpy(&n, samples.trailing.data(), 4);
  return n;
}

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TEST_F(AudioTest, FirstUpdateSendsThreeBuffersAndPacingStaysAheadOfRealTime) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "audio", "mode", "pace"}));
  auto start = channel.expect(MSG_AUDIO_START);
  Clock::time_point started = Clock::now();
  ASSERT_TRUE(start) << channel.lastError();
  auto line = host->waitForStdoutLine("PLUGIN audio");
  ASSERT_TRUE(line) << host->error();
  EXPECT_EQ(*line, "PLUGIN audio A=101 B=102 recommended=512 stop-unstarted=1 started=1");
  EXPECT_EQ(start->fixed, encodeWords({MSG_AUDIO_START, 101, kRate, kFrames, 0}));

  // Over two seconds of wall time: the stream never falls behind real time, and never
  // runs further ahead than 50 ms plus one buffer. The bounds carry 25 ms of slack for a
  // loaded machine (arrival times include the host's scheduling delays).
  constexpr double kBufferMs = kFrames * 1000.0 / kRate, kSlack = 25;
  uint32_t frames = 0, messages = 0;
  double minAhead = 1e9, maxAhead = -1e9, maxAheadAtTopUp = -1e9, previous = 0;
  while (msSince(started) < 2000) {
    auto samples = receiveAudio(channel);
    ASSERT_TRUE(samples) << channel.lastError();
    ASSERT_EQ(samples->code, MSG_AUDIO_SAMPLES);
    double now = msSince(started);
    EXPECT_EQ(samples->fixed, encodeWords({MSG_AUDIO_SAMPLES, 101, kFrames * 4, 0}));
    EXPECT_EQ(callNumber(*samples), ++messages);
    double aheadBefore = frames * 1000.0 / kRate - now;
    frames += kFrames;
    minAhead = std::min(minAhead, aheadBefore);
    maxAhead = std::max(maxAhead, frames * 1000.0 / kRate - now);
    // A buffer that opens a top-up (after a pause) came when no more than 25 ms were
    // ahead: no callback runs while the stream is further ahead than that.
    if (messages > 3 && now - previous > 5)
      maxAheadAtTopUp = std::max(maxAheadAtTopUp, aheadBefore);
    // The first update is exactly three buffers: the fourth waits for the next top-up.
    if (messages == 4) {
      EXPECT_GT(now - previous, 5.0) << "a fourth buffer in the first update";
    }
    previous = now;
  }
  EXPECT_LE(maxAheadAtTopUp, 25 + kSlack);
  EXPECT_GE(minAhead, -kSlack) << "the stream fell behind real time";
  EXPECT_LE(maxAhead, 50 + kBufferMs + kSlack) << "the stream ran too far ahead";
  EXPECT_GE(frames * 1000.0 / kRate, 2000.0) << "two seconds of audio in two seconds";
}

TEST_F(AudioTest, StreamsGoInStartOrderRestartWithANewCountAndStopWhenDestroyed) {
  ASSERT_TRUE(startHost({kDocument, "scenario", "audio", "mode", "two"}));
  // B was started first: its start, then A's, then B's three buffers before A's.
  std::vector<std::pair<uint32_t, uint32_t>> seen;  // code, stream
  while (seen.size() < 8) {
    auto m = receiveAudio(channel);
    ASSERT_TRUE(m) << channel.lastError();
    seen.emplace_back(m->code, m->word(4));
  }
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, uint32_t>>{{MSG_AUDIO_START, 102},
                                                              {MSG_AUDIO_START, 101},
                                                              {MSG_AUDIO_SAMPLES, 102},
                                                              {MSG_AUDIO_SAMPLES, 102},
                                                              {MSG_AUDIO_SAMPLES, 102},
                                                              {MSG_AUDIO_SAMPLES, 101},
                                                              {MSG_AUDIO_SAMPLES, 101},
                                                              {MSG_AUDIO_SAMPLES, 101}}));

  // Reads until a message of `code` for `stream`, counting A's buffers on the way.
  auto until = [&](uint32_t code, uint32_t stream, int* samplesOfA = nullptr) {
    for (;;) {
      auto m = receiveAudio(channel);
      if (!m) return ::testing::AssertionFailure() << channel.lastError();
      if (m->code == MSG_AUDIO_SAMPLES && m->word(4) == 101 && samplesOfA) ++*samplesOfA;
      if (m->code == code && m->word(4) == stream) {
        if (m->fixed.size() == 12 && m->fixed != encodeWords({MSG_AUDIO_STOP, stream, 0}))
          return ::testing::AssertionFailure() << "wrong MSG_AUDIO_STOP block";
        return ::testing::AssertionSuccess();
      }
    }
  };
  // Let A play a second, so that a count that did not restart would keep it silent
  // for about as long after the restart.
  int samplesOfA = 0;
  Clock::time_point playing = Clock::now();
  while (msSince(playing) < 1000) ASSERT_TRUE(receiveAudio(channel)) << channel.lastError();
  ASSERT_TRUE(sendStep(2));
  ASSERT_TRUE(until(MSG_AUDIO_STOP, 101));
  ASSERT_TRUE(sendStep(3));
  ASSERT_TRUE(until(MSG_AUDIO_START, 101));
  Clock::time_point restarted = Clock::now();
  while (samplesOfA < 3) ASSERT_TRUE(until(MSG_AUDIO_SAMPLES, 101, &samplesOfA));
  EXPECT_LT(msSince(restarted), 500.0) << "the restarted stream began a new count";

  ASSERT_TRUE(sendStep(4));
  ASSERT_TRUE(until(MSG_AUDIO_STOP, 102));
  ASSERT_TRUE(sendStep(5));
  ASSERT_TRUE(until(MSG_AUDIO_STOP, 101));
  ASSERT_TRUE(host->waitForStdoutLine("PLUGIN audio step 5")) << host->error();
  // Nothing plays any more.
  EXPECT_TRUE(channel.expectSilence(std::chrono::milliseconds(200))) << channel.lastError();
}

}  // namespace
