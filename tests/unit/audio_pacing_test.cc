// Audio pacing on a simulated clock: the real main loop with two playing streams, against
// a model of the earlier rule that left an ahead stream's due time in the past (the loop
// then turned without sleeping until the low mark caught up). Every sample message must
// go out when it did under that rule, give or take the millisecond, in far fewer turns.
#include <sys/socket.h>

#include <algorithm>
#include <vector>

#include "audio/audio_config.h"
#include "audio/audio_output.h"
#include "audio/audio_stream.h"
#include "host/core.h"
#include "host/loop_clock.h"
#include "host_fixture.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

namespace {

// Simulated time in microseconds; the loop's clock reads whole milliseconds of it. A
// turn costs a few microseconds; a sleep lasts at least its timeout, as poll's does.
constexpr uint64_t kTurnUs = 10;
uint64_t simUs;
uint64_t turns;
uint64_t simNowMs() {
  return simUs / 1000;
}
int simSleep(pollfd* fds, nfds_t count, int timeoutMs) {
  EXPECT_GE(timeoutMs, 0) << "with streams playing the loop never sleeps for ever";
  ++turns;
  simUs += uint64_t(std::max(timeoutMs, 0)) * 1000 + kTurnUs;
  for (nfds_t i = 0; i < count; ++i) fds[i].revents = 0;
  return 0;
}

struct StreamSetup {
  uint32_t rate;
  uint32_t frames;
  uint64_t startMs;  // after the first stream's start; 0 = before the loop runs
};

// When each stream sent its sample messages, in milliseconds after its own start.
struct Record {
  std::vector<uint64_t> sends[2];
  uint64_t turns = 0;
};

// The earlier rule, as a model of the whole loop: timers, wait, sleep, pacing.
Record oldRule(const StreamSetup (&setup)[2], uint64_t startUs, uint64_t endUs) {
  struct Stream {
    uint64_t start = 0, sent = 0, due = 0;
  } streams[2];
  auto framesIn = [](uint64_t ms, uint32_t rate) { return ms * rate / 1000; };
  Record record;
  uint64_t us = startUs;
  uint64_t t0 = us / 1000;
  bool started[2] = {false, false};
  while (us < endUs) {
    uint64_t now = us / 1000;
    for (int i = 0; i < 2; ++i) {
      if (!started[i] && now >= t0 + setup[i].startMs) {
        started[i] = true;
        streams[i] = Stream{now, 0, 0};
      }
    }
    uint64_t wait = UINT64_MAX;
    for (int i = 0; i < 2; ++i) {
      uint64_t due = started[i] ? streams[i].due : t0 + setup[i].startMs;
      if (started[i] && due < now) {
        wait = 0;
        break;
      }
      wait = std::min(wait, due > now ? due - now : 0);
    }
    ++record.turns;
    us += wait * 1000 + kTurnUs;
    now = us / 1000;
    for (int i = 0; i < 2; ++i) {
      if (!started[i]) continue;
      Stream& s = streams[i];
      uint64_t elapsed = now - s.start;
      if (s.sent > framesIn(elapsed + 25, setup[i].rate)) continue;
      while (s.sent < framesIn(elapsed + 50, setup[i].rate)) {
        record.sends[i].push_back(elapsed);
        s.sent += setup[i].frames;
      }
      s.due = now + 25;
    }
  }
  return record;
}

void silence(void*, uint32_t, void*) {}

struct LoopStream {
  PP_Resource id = 0;
  PPAudioStream* object = nullptr;
};
LoopStream loopStreams[2];
StreamSetup loopSetup[2];

LoopStream makeStream(const StreamSetup& setup) {
  PP_Resource config = ppbAudioConfig.CreateStereo16Bit(
      kInstanceId, static_cast<PP_AudioSampleRate>(setup.rate), setup.frames);
  PP_Resource id = ppbAudio.Create(kInstanceId, config, silence, nullptr);
  ZEMA_ReleaseResource(config);
  return {id, static_cast<PPAudioStream*>(liveResource<PPRes>(kAnyResourceType, id))};
}

// The second stream starts from a timer, as a plug-in's would.
void startSecond(void*, int32_t) {
  ppbAudio.StartPlayback(loopStreams[1].id);
}

class AudioPacing : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    loopClock = LoopClock{simNowMs, simSleep};
  }
  void TearDown() override {
    loopClock = kWallClock;
    HostFixture::TearDown();
  }

  // The real loop on the simulated clock, with the sample messages read off the
  // connection after each turn.
  Record newRule(const StreamSetup (&setup)[2], uint64_t startUs, uint64_t endUs,
                 uint64_t* quietTurns) {
    simUs = startUs;
    turns = 0;
    *quietTurns = 0;
    for (int i = 0; i < 2; ++i) {
      loopSetup[i] = setup[i];
      loopStreams[i] = makeStream(setup[i]);
    }
    ppbAudio.StartPlayback(loopStreams[0].id);
    ZEMA_CallOnMainThread(static_cast<int32_t>(setup[1].startMs),
                          PP_CompletionCallback{startSecond, nullptr, 0}, 0);
    Record record;
    while (simUs < endUs) {
      pluginInstance->messageLoopStep();
      bool sent = false;
      uint32_t header[8];  // the longest fixed block the host sends here: MSG_AUDIO_START
      while (recv(command_[1], header, 4, MSG_DONTWAIT) == 4) {
        size_t rest = zema::protocol::messageInfo(header[0]).size - 4;
        if (rest > sizeof(header) - 4) {
          ADD_FAILURE() << "unexpected message " << header[0];
          break;
        }
        EXPECT_EQ(read(command_[1], header + 1, rest), static_cast<ssize_t>(rest));
        if (header[0] != MSG_AUDIO_SAMPLES) continue;
        int which = header[1] == static_cast<uint32_t>(loopStreams[0].id) ? 0 : 1;
        EXPECT_EQ(header[2], setup[which].frames * 4);
        std::vector<uint8_t> samples(header[2]);
        EXPECT_EQ(recv(command_[1], samples.data(), samples.size(), MSG_WAITALL),
                  static_cast<ssize_t>(samples.size()));
        record.sends[which].push_back(simNowMs() - loopStreams[which].object->startTime);
        sent = true;
      }
      if (!sent) ++*quietTurns;
    }
    record.turns = turns;
    for (LoopStream& stream : loopStreams) ZEMA_ReleaseResource(stream.id);
    return record;
  }
};

}  // namespace

TEST_F(AudioPacing, SamplesGoOutWhenTheyDidWithoutTurningTheLoopInBetween) {
  const StreamSetup cases[][2] = {
      {{44100, 1024, 0}, {48000, 480, 1234}},
      {{48000, 256, 0}, {44100, 4096, 377}},
      {{44100, 441, 0}, {44100, 2048, 2001}},
      {{48000, 1024, 0}, {48000, 1024, 13}},
  };
  for (const auto& setup : cases) {
    SCOPED_TRACE(testing::Message() << setup[0].rate << " Hz × " << setup[0].frames << " and "
                                    << setup[1].rate << " Hz × " << setup[1].frames);
    // An arbitrary wall-clock time, partway into a millisecond; five seconds of play.
    uint64_t startUs = 1'800'000'000'000'000 + 417;
    uint64_t endUs = startUs + 5'000'000;
    uint64_t quiet = 0;
    Record now = newRule(setup, startUs, endUs, &quiet);
    Record before = oldRule(setup, startUs, endUs);
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(testing::Message() << "stream " << i);
      // The last 100 ms are left out: the run may end on either side of a top-up.
      uint64_t cutoff = 4900 - setup[i].startMs;
      auto sendsBefore = [&](const std::vector<uint64_t>& sends) {
        return std::vector<uint64_t>(sends.begin(),
                                     std::lower_bound(sends.begin(), sends.end(), cutoff));
      };
      std::vector<uint64_t> was = sendsBefore(before.sends[i]), is = sendsBefore(now.sends[i]);
      ASSERT_GT(was.size(), 40u);
      ASSERT_EQ(is.size(), was.size());
      for (size_t k = 0; k < was.size(); ++k) {
        ASSERT_GE(is[k], was[k]) << "message " << k << " went out early";
        ASSERT_LE(is[k], was[k] + 1) << "message " << k << " went out late";
      }
    }
    // The earlier rule turned tens of thousands of times a second (about 260,000 turns
    // against 230 here). Now every turn sends, but the one whose sleep ends for the
    // second stream's start timer: that timer runs at the top of the next turn.
    EXPECT_LT(now.turns * 100, before.turns);
    EXPECT_LE(quiet, 1u);
  }
}

TEST_F(AudioPacing, AStreamAheadIsDueWhenItsLowMarkReachesTheFramesSent) {
  // 44100 Hz, 1024 frames: three buffers (3072 frames) at the start; the low mark
  // ⌊(e + 25) × 44.1⌋ reaches 3072 at e = 45 (3087), not at 44 (3042).
  simUs = 1'800'000'000'000'000;
  LoopStream stream = makeStream({44100, 1024, 0});
  ppbAudio.StartPlayback(stream.id);
  uint64_t start = stream.object->startTime;
  ZEMA_AddRefResource(stream.id);  // as the pacing walk holds one
  stream.object->updateAudioIfNeeded(start);
  EXPECT_EQ(stream.object->framesSent, 3072u);
  EXPECT_EQ(stream.object->nextDueTime(), start + 45);
  // A turn for another reason in between moves nothing and sends nothing.
  stream.object->updateAudioIfNeeded(start + 30);
  EXPECT_EQ(stream.object->framesSent, 3072u);
  EXPECT_EQ(stream.object->nextDueTime(), start + 45);
  stream.object->updateAudioIfNeeded(start + 45);
  EXPECT_EQ(stream.object->framesSent, 5120u);
  EXPECT_EQ(stream.object->nextDueTime(), start + 92);  // ⌈5120 / 44.1⌉ - 25
  ZEMA_ReleaseResource(stream.id);
  ZEMA_ReleaseResource(stream.id);
}
