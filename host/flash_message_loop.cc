// "PPB_Flash_MessageLoop;0.1": nested message loops.
#include "host/flash_message_loop.h"

#include "host/core.h"
#include "host/plugin_instance.h"
#include "resources/not_implemented.h"
#include "resources/resource_table.h"

static PP_Resource ZEMA_FlashMessageLoop_Create(PP_Instance) {
  return pluginInstance->allocateResId(new PPFlashMessageLoop);
}

static int32_t ZEMA_FlashMessageLoop_Run(PP_Resource flash_message_loop) {
  Enter<PPFlashMessageLoop> loop(flash_message_loop);
  if (!loop) return PP_ERROR_BADRESOURCE;
  // Turns of the main loop belong to the main thread.
  if (ZEMA_IsMainThread() != PP_TRUE) return PP_ERROR_WRONG_THREAD;
  // Our own reference keeps the object alive should the plug-in release its last one
  // from inside a nested turn.
  ZEMA_AddRefResource(flash_message_loop);
  loop->running = true;
  while (!loop->quitRequested) pluginInstance->messageLoopStep();
  loop->running = false;
  ZEMA_ReleaseResource(flash_message_loop);
  // The turn that called us goes on to sleep in poll. The inner turns may have drained
  // the wake-up an outer Quit wrote, so wake again: an enclosing loop that was quit
  // meanwhile then ends instead of sleeping until the next message.
  pluginInstance->wakeMainLoop();
  return PP_OK;
}

static void ZEMA_FlashMessageLoop_Quit(PP_Resource flash_message_loop) {
  Enter<PPFlashMessageLoop> loop(flash_message_loop);
  if (!loop) return;
  loop->quitRequested = true;
  // A Quit from another thread must not wait for the next message to be noticed.
  pluginInstance->wakeMainLoop();
}

using Iface = PPB_Flash_MessageLoop_0_1;

const PPB_Flash_MessageLoop_0_1 ppbFlashMessageLoop = {
    ZEMA_FlashMessageLoop_Create,
    isResourceEntry<kResFlashMessageLoop>,
    ZEMA_FlashMessageLoop_Run,
    ZEMA_FlashMessageLoop_Quit,
};
