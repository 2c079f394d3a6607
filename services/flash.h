// "PPB_Flash;13.0": the Flash-specific browser services.
#pragma once

#include "ppapi/ppb_flash.h"
#include "protocol/protocol.h"

extern const PPB_Flash_13_0 ppbFlash;

// MSG_TIME_ZONE_OFFSET: the offset GetLocalTimeZoneOffset answers.
void handleTimeZoneOffset(const zema::protocol::TimeZoneOffset& message);
