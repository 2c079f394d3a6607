#pragma once

#include "ppapi/ppb_core.h"

PP_Time ZEMA_GetTime();
PP_TimeTicks ZEMA_GetTimeTicks();
void ZEMA_CallOnMainThread(int32_t delay_in_milliseconds, PP_CompletionCallback callback,
                           int32_t result);
PP_Bool ZEMA_IsMainThread();

extern const PPB_Core_1_0 ppbCore;
extern const PPB_Memory_Dev_0_1 ppbMemory;
