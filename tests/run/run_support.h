// What the tests of zema-run share: running a command, reading its PNG and sound files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Result {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs a shell command line to its end.
Result runCommand(const std::string& commandLine);

// The RGBA pixels of a PNG file, or nothing.
std::vector<uint8_t> readPng(const std::string& path, uint32_t* width, uint32_t* height);

// The frequency (1 Hz steps, 300 to 600 Hz) with the most energy in one second of the
// left channel, starting half a second in, and the file's length in seconds. A WAV file,
// or with `rawRate` raw interleaved stereo 16-bit samples at that rate.
int peakFrequency(const std::string& path, double* seconds, int rawRate = 0);
