// Start-up: from the command line to the first turn of the main loop.
#pragma once

#include <string>
#include <vector>

// The plug-in URL for a `src` attribute value, resolved against the document URL.
std::string resolvePluginUrl(const std::string& documentUrl, const std::string& src);

// Fills `names` and `values` with the attribute pairs of the command line (argv[1] is
// the document URL) and returns the plug-in URL their "src" attribute gives.
std::string collectAttributes(int argc, char** argv, std::vector<const char*>& names,
                              std::vector<const char*>& values);

// The host's entry point; returns only when start-up fails.
int hostMain(int argc, char** argv);
