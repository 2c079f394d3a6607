// "PPB_InputEvent;1.0", "PPB_MouseInputEvent;1.1", "PPB_KeyboardInputEvent;1.0" and ";1.2",
// "PPB_IMEInputEvent(Dev);0.1" and the input-event enumerations.
#pragma once

#include "ppapi/pp_types.h"

PP_EXTERN_C_BEGIN

typedef enum PP_INT32_ENUM {
  PP_INPUTEVENT_TYPE_UNDEFINED = -1,
  PP_INPUTEVENT_TYPE_FIRST = PP_INPUTEVENT_TYPE_UNDEFINED,
  PP_INPUTEVENT_TYPE_MOUSEDOWN = 0,
  PP_INPUTEVENT_TYPE_MOUSEUP = 1,
  PP_INPUTEVENT_TYPE_MOUSEMOVE = 2,
  PP_INPUTEVENT_TYPE_MOUSEENTER = 3,
  PP_INPUTEVENT_TYPE_MOUSELEAVE = 4,
  PP_INPUTEVENT_TYPE_WHEEL = 5,
  PP_INPUTEVENT_TYPE_RAWKEYDOWN = 6,
  PP_INPUTEVENT_TYPE_KEYDOWN = 7,
  PP_INPUTEVENT_TYPE_KEYUP = 8,
  PP_INPUTEVENT_TYPE_CHAR = 9,
  PP_INPUTEVENT_TYPE_CONTEXTMENU = 10,
  PP_INPUTEVENT_TYPE_IME_COMPOSITION_START = 11,
  PP_INPUTEVENT_TYPE_IME_COMPOSITION_UPDATE = 12,
  PP_INPUTEVENT_TYPE_IME_COMPOSITION_END = 13,
  PP_INPUTEVENT_TYPE_IME_TEXT = 14,
  PP_INPUTEVENT_TYPE_TOUCHSTART = 15,
  PP_INPUTEVENT_TYPE_TOUCHMOVE = 16,
  PP_INPUTEVENT_TYPE_TOUCHEND = 17,
  PP_INPUTEVENT_TYPE_TOUCHCANCEL = 18,
  PP_INPUTEVENT_TYPE_LAST = PP_INPUTEVENT_TYPE_TOUCHCANCEL
} PP_InputEvent_Type;

// Bit flags; modifier sets travel as uint32_t.
typedef enum PP_INT32_ENUM {
  PP_INPUTEVENT_MODIFIER_SHIFTKEY = 1 << 0,
  PP_INPUTEVENT_MODIFIER_CONTROLKEY = 1 << 1,
  PP_INPUTEVENT_MODIFIER_ALTKEY = 1 << 2,
  PP_INPUTEVENT_MODIFIER_METAKEY = 1 << 3,
  PP_INPUTEVENT_MODIFIER_ISKEYPAD = 1 << 4,
  PP_INPUTEVENT_MODIFIER_ISAUTOREPEAT = 1 << 5,
  PP_INPUTEVENT_MODIFIER_LEFTBUTTONDOWN = 1 << 6,
  PP_INPUTEVENT_MODIFIER_MIDDLEBUTTONDOWN = 1 << 7,
  PP_INPUTEVENT_MODIFIER_RIGHTBUTTONDOWN = 1 << 8,
  PP_INPUTEVENT_MODIFIER_CAPSLOCKKEY = 1 << 9,
  PP_INPUTEVENT_MODIFIER_NUMLOCKKEY = 1 << 10,
  PP_INPUTEVENT_MODIFIER_ISLEFT = 1 << 11,
  PP_INPUTEVENT_MODIFIER_ISRIGHT = 1 << 12,
  PP_INPUTEVENT_MODIFIER_ISPEN = 1 << 13,
  PP_INPUTEVENT_MODIFIER_ISERASER = 1 << 14
} PP_InputEvent_Modifier;

typedef enum PP_INT32_ENUM {
  PP_INPUTEVENT_MOUSEBUTTON_NONE = -1,
  PP_INPUTEVENT_MOUSEBUTTON_FIRST = PP_INPUTEVENT_MOUSEBUTTON_NONE,
  PP_INPUTEVENT_MOUSEBUTTON_LEFT = 0,
  PP_INPUTEVENT_MOUSEBUTTON_MIDDLE = 1,
  PP_INPUTEVENT_MOUSEBUTTON_RIGHT = 2,
  PP_INPUTEVENT_MOUSEBUTTON_LAST = PP_INPUTEVENT_MOUSEBUTTON_RIGHT
} PP_InputEvent_MouseButton;

// Bit flags; class sets travel as uint32_t.
typedef enum PP_INT32_ENUM {
  PP_INPUTEVENT_CLASS_MOUSE = 1 << 0,
  PP_INPUTEVENT_CLASS_KEYBOARD = 1 << 1,
  PP_INPUTEVENT_CLASS_WHEEL = 1 << 2,
  PP_INPUTEVENT_CLASS_TOUCH = 1 << 3,
  PP_INPUTEVENT_CLASS_IME = 1 << 4,
  PP_INPUTEVENT_CLASS_COALESCED_TOUCH = 1 << 5
} PP_InputEvent_Class;

// "PPB_InputEvent;1.0"
struct PPB_InputEvent_1_0 {
  int32_t (*RequestInputEvents)(PP_Instance instance, uint32_t event_classes);
  int32_t (*RequestFilteringInputEvents)(PP_Instance instance, uint32_t event_classes);
  void (*ClearInputEventRequest)(PP_Instance instance, uint32_t event_classes);
  PP_Bool (*IsInputEvent)(PP_Resource resource);
  PP_InputEvent_Type (*GetType)(PP_Resource event);
  PP_TimeTicks (*GetTimeStamp)(PP_Resource event);
  uint32_t (*GetModifiers)(PP_Resource event);
};

// "PPB_MouseInputEvent;1.1"
struct PPB_MouseInputEvent_1_1 {
  PP_Resource (*Create)(PP_Instance instance, PP_InputEvent_Type type, PP_TimeTicks time_stamp,
                        uint32_t modifiers, PP_InputEvent_MouseButton mouse_button,
                        const struct PP_Point* mouse_position, int32_t click_count,
                        const struct PP_Point* mouse_movement);
  PP_Bool (*IsMouseInputEvent)(PP_Resource resource);
  PP_InputEvent_MouseButton (*GetButton)(PP_Resource mouse_event);
  struct PP_Point (*GetPosition)(PP_Resource mouse_event);
  int32_t (*GetClickCount)(PP_Resource mouse_event);
  struct PP_Point (*GetMovement)(PP_Resource mouse_event);
};

// "PPB_KeyboardInputEvent;1.0"
struct PPB_KeyboardInputEvent_1_0 {
  PP_Resource (*Create)(PP_Instance instance, PP_InputEvent_Type type, PP_TimeTicks time_stamp,
                        uint32_t modifiers, uint32_t key_code, struct PP_Var character_text);
  PP_Bool (*IsKeyboardInputEvent)(PP_Resource resource);
  uint32_t (*GetKeyCode)(PP_Resource key_event);
  struct PP_Var (*GetCharacterText)(PP_Resource character_event);
};

// "PPB_KeyboardInputEvent;1.2": Create takes the DOM "code" of the key; GetCode.
struct PPB_KeyboardInputEvent_1_2 {
  PP_Resource (*Create)(PP_Instance instance, PP_InputEvent_Type type, PP_TimeTicks time_stamp,
                        uint32_t modifiers, uint32_t key_code, struct PP_Var character_text,
                        struct PP_Var code);
  PP_Bool (*IsKeyboardInputEvent)(PP_Resource resource);
  uint32_t (*GetKeyCode)(PP_Resource key_event);
  struct PP_Var (*GetCharacterText)(PP_Resource character_event);
  struct PP_Var (*GetCode)(PP_Resource key_event);
};

// "PPB_IMEInputEvent(Dev);0.1"
struct PPB_IMEInputEvent_Dev_0_1 {
  PP_Bool (*IsIMEInputEvent)(PP_Resource resource);
  struct PP_Var (*GetText)(PP_Resource ime_event);
  uint32_t (*GetSegmentNumber)(PP_Resource ime_event);
  uint32_t (*GetSegmentOffset)(PP_Resource ime_event, uint32_t index);
  int32_t (*GetTargetSegment)(PP_Resource ime_event);
  void (*GetSelection)(PP_Resource ime_event, uint32_t* start, uint32_t* end);
};

// Interface names; the unversioned name is the final published version, and the
// unversioned struct its table.
#define PPB_INPUT_EVENT_INTERFACE_1_0 "PPB_InputEvent;1.0"
#define PPB_INPUT_EVENT_INTERFACE PPB_INPUT_EVENT_INTERFACE_1_0
typedef struct PPB_InputEvent_1_0 PPB_InputEvent;
#define PPB_MOUSE_INPUT_EVENT_INTERFACE_1_1 "PPB_MouseInputEvent;1.1"
#define PPB_MOUSE_INPUT_EVENT_INTERFACE PPB_MOUSE_INPUT_EVENT_INTERFACE_1_1
typedef struct PPB_MouseInputEvent_1_1 PPB_MouseInputEvent;
#define PPB_KEYBOARD_INPUT_EVENT_INTERFACE_1_0 "PPB_KeyboardInputEvent;1.0"
#define PPB_KEYBOARD_INPUT_EVENT_INTERFACE_1_2 "PPB_KeyboardInputEvent;1.2"
#define PPB_KEYBOARD_INPUT_EVENT_INTERFACE PPB_KEYBOARD_INPUT_EVENT_INTERFACE_1_2
typedef struct PPB_KeyboardInputEvent_1_2 PPB_KeyboardInputEvent;

PP_EXTERN_C_END

#ifdef __cplusplus
static_assert(sizeof(PP_InputEvent_Type) == 4 && sizeof(PP_InputEvent_Modifier) == 4 &&
              sizeof(PP_InputEvent_MouseButton) == 4 && sizeof(PP_InputEvent_Class) == 4);
static_assert(sizeof(PPB_InputEvent_1_0) == 7 * sizeof(void*));
static_assert(sizeof(PPB_MouseInputEvent_1_1) == 6 * sizeof(void*));
static_assert(sizeof(PPB_KeyboardInputEvent_1_0) == 4 * sizeof(void*));
static_assert(sizeof(PPB_KeyboardInputEvent_1_2) == 5 * sizeof(void*));
static_assert(sizeof(PPB_IMEInputEvent_Dev_0_1) == 6 * sizeof(void*));
#endif
