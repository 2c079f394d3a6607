// The host's interface lookup, handed to the plug-in at start-up.
#pragma once

// The table for an exactly matching interface name, or null.
const void* ZEMA_GetInterface(const char* interface_name);
