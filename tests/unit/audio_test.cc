// Audio streams in-process: callbacks that stop or destroy streams during the pacing
// walk, a second start of a playing stream, and buffers that could never catch up.
#include "audio/audio_config.h"
#include "audio/audio_output.h"
#include "audio/audio_stream.h"
#include "host_fixture.h"
#include "protocol/protocol.h"
#include "resources/resource_table.h"

namespace {

PP_Resource streams[2];
int calls[2];

// Stream 0's first callback destroys stream 1 and stops stream 0 itself.
void destructive(void*, uint32_t, void* user_data) {
  int which = static_cast<int>(reinterpret_cast<intptr_t>(user_data));
  ++calls[which];
  if (which == 0 && calls[0] == 1) {
    ZEMA_ReleaseResource(streams[1]);
    ppbAudio.StopPlayback(streams[0]);
    ZEMA_ReleaseResource(streams[0]);
  }
}

class Audio : public HostFixture {
 protected:
  PP_Resource makeStream(uint32_t frames, int which) {
    PP_Resource config =
        ppbAudioConfig.CreateStereo16Bit(kInstanceId, PP_AUDIOSAMPLERATE_44100, frames);
    PP_Resource stream =
        ppbAudio.Create(kInstanceId, config, destructive, reinterpret_cast<void*>(intptr_t{which}));
    ZEMA_ReleaseResource(config);
    return stream;
  }
  // The codes of every message the host wrote so far, skipping sample bytes.
  std::vector<uint32_t> sentCodes() {
    std::vector<uint32_t> codes;
    uint32_t header[5];
    while (recv(command_[1], header, 4, MSG_DONTWAIT) == 4) {
      codes.push_back(header[0]);
      size_t rest = zema::protocol::messageInfo(header[0]).size - 4;
      EXPECT_EQ(read(command_[1], header + 1, rest), static_cast<ssize_t>(rest));
      if (header[0] == MSG_AUDIO_SAMPLES) {
        std::vector<uint8_t> samples(header[2]);
        EXPECT_EQ(read(command_[1], samples.data(), samples.size()),
                  static_cast<ssize_t>(samples.size()));
      }
    }
    return codes;
  }
};

}  // namespace

TEST_F(Audio, CallbacksThatStopOrDestroyStreamsDoNotDisturbThePacingWalk) {
  calls[0] = calls[1] = 0;
  streams[0] = makeStream(1024, 0);
  streams[1] = makeStream(1024, 1);
  ppbAudio.StartPlayback(streams[0]);
  ppbAudio.StartPlayback(streams[1]);
  pluginInstance->messageLoopStep();
  // Stream 0 ran once, then stopped itself; stream 1 was destroyed before its turn.
  EXPECT_EQ(calls[0], 1);
  EXPECT_EQ(calls[1], 0);
  EXPECT_TRUE(pluginInstance->audioStreams.empty());
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, streams[0]), nullptr);
  EXPECT_EQ(liveResource<PPRes>(kAnyResourceType, streams[1]), nullptr);
  EXPECT_EQ(sentCodes(), (std::vector<uint32_t>{MSG_AUDIO_START, MSG_AUDIO_START, MSG_AUDIO_STOP,
                                                MSG_AUDIO_STOP}));
}

TEST_F(Audio, StartingAPlayingStreamRestartsItOnceAndUnusableBuffersAreRefused) {
  calls[0] = calls[1] = 0;
  PP_Resource stream = makeStream(1024, 1);
  ppbAudio.StartPlayback(stream);
  pluginInstance->messageLoopStep();
  ppbAudio.StartPlayback(stream);
  EXPECT_EQ(pluginInstance->audioStreams.size(), 1u);
  pluginInstance->messageLoopStep();
  EXPECT_EQ(calls[1], 6) << "the restart began a new count";
  ZEMA_ReleaseResource(stream);
  EXPECT_TRUE(pluginInstance->audioStreams.empty());
  std::vector<uint32_t> codes = sentCodes();
  EXPECT_EQ(std::count(codes.begin(), codes.end(), MSG_AUDIO_START), 2);
  EXPECT_EQ(codes.back(), MSG_AUDIO_STOP);

  // A buffer of no frames would never catch up with real time.
  EXPECT_EQ(makeStream(0, 1), 0);
  EXPECT_EQ(makeStream(0x40000000, 1), 0);
  EXPECT_EQ(ppbAudio.StartPlayback(12345), PP_FALSE);
  EXPECT_EQ(ppbAudio.StopPlayback(12345), PP_TRUE);
}

TEST_F(Audio, AClockSetBackCountsAsNoTimeElapsed) {
  calls[0] = calls[1] = 0;
  PP_Resource stream = makeStream(1024, 1);
  ppbAudio.StartPlayback(stream);
  // As if the wall clock had gone back an hour since the start.
  auto* res = static_cast<PPAudioStream*>(liveResource<PPRes>(kAnyResourceType, stream));
  res->startTime += 3600 * 1000;
  pluginInstance->messageLoopStep();
  EXPECT_EQ(calls[1], 3) << "the first update's three buffers, not hours of audio";
  ZEMA_ReleaseResource(stream);
  sentCodes();
}

TEST_F(Audio, AStreamPlaysOnAfterADay) {
  calls[0] = calls[1] = 0;
  PP_Resource stream = makeStream(1024, 1);
  ppbAudio.StartPlayback(stream);
  sentCodes();
  // About 27 hours in, where 2^32 frames at 44100 Hz are reached, with everything up
  // to 10 ms ago sent: the next update tops up to 50 ms ahead, as on the first day.
  auto* res = static_cast<PPAudioStream*>(liveResource<PPRes>(kAnyResourceType, stream));
  uint64_t elapsed = (uint64_t{1} << 32) * 1000 / 44100;
  res->startTime -= elapsed;
  res->framesSent = (elapsed - 10) * 44100 / 1000;
  res->nextDue = 0;
  pluginInstance->messageLoopStep();
  EXPECT_GE(calls[1], 3) << "not silent";
  EXPECT_LE(calls[1], 4) << "not hours of audio";
  ZEMA_ReleaseResource(stream);
  sentCodes();
}
