// Navigating the embedding page (slot 3 of "PPB_Flash;13.0").
#pragma once

#include "ppapi/pp_types.h"

// Asks the controlling process to load the request's URL into the frame `target`.
int32_t ZEMA_Navigate(PP_Resource request_info, const char* target, PP_Bool from_user_action);
