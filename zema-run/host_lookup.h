// Where zema-run finds the host programs: next to itself (an installed zema), then in
// the build tree it was built in when run from there, then in the install prefix.
#pragma once

#include <string>
#include <vector>

// The places a host for plug-ins of ELF class `elfClass` (1: 32-bit, 2: 64-bit) is
// looked for, in order, for a zema-run at `self`.
std::vector<std::string> hostCandidates(const std::string& self, int elfClass);
// The first candidate that can be executed, or "".
std::string findHost(const std::string& self, int elfClass);
// The absolute path of the running program.
std::string selfPath();
