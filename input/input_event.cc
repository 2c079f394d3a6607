// "PPB_InputEvent;1.0": input-event requests and the common event accessors.
#include "input/input_event.h"

#include "host/plugin_instance.h"
#include "input/mouse_input_event.h"
#include "resources/resource_table.h"

// Every request is passed on as given, repeated ones included: the controlling process
// decides what to send; the host filters nothing.
static int32_t ZEMA_RequestInputEvents(PP_Instance, uint32_t event_classes) {
  pluginInstance->send(zema::protocol::RequestInputEvents{.eventClasses = event_classes});
  return PP_OK;
}

static int32_t ZEMA_RequestFilteringInputEvents(PP_Instance, uint32_t) {
  return PP_OK;
}

static void ZEMA_ClearInputEventRequest(PP_Instance, uint32_t) {}

static PP_Bool ZEMA_IsInputEvent(PP_Resource resource) {
  return Enter<PPInputEventRes>(resource) ? PP_TRUE : PP_FALSE;
}

static PP_InputEvent_Type ZEMA_GetType(PP_Resource event) {
  Enter<PPInputEventRes> res(event);
  return res ? res->type : PP_INPUTEVENT_TYPE_UNDEFINED;
}

static PP_TimeTicks ZEMA_GetTimeStamp(PP_Resource event) {
  Enter<PPInputEventRes> res(event);
  return res ? res->timeStamp : 0.0;
}

static uint32_t ZEMA_GetModifiers(PP_Resource event) {
  Enter<PPInputEventRes> res(event);
  return res ? res->modifiers : 0;
}

const PPB_InputEvent_1_0 ppbInputEvent = {
    ZEMA_RequestInputEvents,
    ZEMA_RequestFilteringInputEvents,
    ZEMA_ClearInputEventRequest,
    ZEMA_IsInputEvent,
    ZEMA_GetType,
    ZEMA_GetTimeStamp,
    ZEMA_GetModifiers,
};

void deliverInputEvent(PPInputEventRes* event) {
  stampReceivedEvent(event);
  PP_Resource id = allocateHeldResource(event);
  const PPP_InputEvent_0_1* handler = pluginInstance->inputInterface;
  if (handler != nullptr && handler->HandleInputEvent != nullptr)
    handler->HandleInputEvent(kInstanceId, id);
  releaseResourceObject(event);
}
