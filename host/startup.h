// Start-up: from the command line to the first turn of the main loop.
#pragma once

#include <string>

// The plug-in URL for a `src` attribute value, resolved against the document URL.
std::string resolvePluginUrl(const std::string& documentUrl, const std::string& src);

// The host's entry point; returns only when start-up fails.
int hostMain(int argc, char** argv);
