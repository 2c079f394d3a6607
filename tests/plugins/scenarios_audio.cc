// Scenarios for audio output. Every buffer the host asks for starts with the number of
// callbacks its stream has had (1, 2, ...), the rest zero.
//
//   audio  Makes a 44100 Hz, 1024-frame config and streams A and B from it.
//          mode=pace  starts A only.
//          mode=two   starts B, then A; key 2 stops A, key 3 starts A again, key 4
//                     releases B while it plays, key 5 releases A.
#include <string.h>

#include "ppapi/ppb_audio.h"
#include "ppapi/ppb_core.h"
#include "ppapi/ppb_input_event.h"
#include "tests/plugins/test_plugin.h"

namespace {

using testplugin::Args;
using testplugin::report;

const PPB_Audio_1_0* audio() {
  return testplugin::hostInterfaceAs<PPB_Audio_1_0>("PPB_Audio;1.0");
}

struct Stream {
  PP_Resource id = 0;
  uint32_t calls = 0;
};
Stream streamA, streamB;

void fill(void* buffer, uint32_t bytes, void* user_data) {
  auto* stream = static_cast<Stream*>(user_data);
  ++stream->calls;
  memset(buffer, 0, bytes);
  memcpy(buffer, &stream->calls, sizeof(stream->calls));
}

void audioCreate(const Args& args) {
  auto* config = testplugin::hostInterfaceAs<PPB_AudioConfig_1_0>("PPB_AudioConfig;1.0");
  auto* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  PP_Instance inst = testplugin::instance();
  PP_Resource cfg = config->CreateStereo16Bit(inst, PP_AUDIOSAMPLERATE_44100, 1024);
  uint32_t recommended = config->RecommendSampleFrameCount(PP_AUDIOSAMPLERATE_44100, 512);
  streamA.id = audio()->Create(inst, cfg, fill, &streamA);
  streamB.id = audio()->Create(inst, cfg, fill, &streamB);
  core->ReleaseResource(cfg);
  PP_Bool stopUnstarted = audio()->StopPlayback(streamA.id);
  bool two = strcmp(args.get("mode", "pace"), "two") == 0;
  if (two) audio()->StartPlayback(streamB.id);
  PP_Bool started = audio()->StartPlayback(streamA.id);
  report("audio A=%d B=%d recommended=%u stop-unstarted=%d started=%d", streamA.id, streamB.id,
         recommended, stopUnstarted, started);
}

PP_Bool audioStep(PP_Resource event) {
  auto* core = testplugin::hostInterfaceAs<PPB_Core_1_0>("PPB_Core;1.0");
  switch (testplugin::keyCode(event)) {
    case 2:
      audio()->StopPlayback(streamA.id);
      break;
    case 3:
      audio()->StartPlayback(streamA.id);
      break;
    case 4:
      core->ReleaseResource(streamB.id);
      break;
    case 5:
      core->ReleaseResource(streamA.id);
      break;
  }
  report("audio step %u", testplugin::keyCode(event));
  return PP_TRUE;
}

testplugin::ScenarioRegistrar audioRegistrar("audio", {audioCreate, nullptr, audioStep});

}  // namespace
