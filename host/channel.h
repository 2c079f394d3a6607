// Writing and reading on the host channel's two stream connections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

// A piece of trailing data that follows a message's fixed block.
struct ChannelPiece {
  const void* data;
  size_t size;
};

// Writes a fixed block (code first) and then each trailing piece, in order, completing
// partial writes. A peer that has gone away is not an error here: the main loop finds
// the closed connection on its next read and ends the process there.
void writeMessage(int fd, const void* fixed, size_t size,
                  std::initializer_list<ChannelPiece> trailing = {});

enum class ReadResult { kOk, kEndOfStream, kError };

// Reads exactly `size` bytes, continuing after short reads.
ReadResult readFully(int fd, void* buffer, size_t size);

// Reads and throws away `size` bytes (trailing data nobody may keep).
ReadResult skipBytes(int fd, uint64_t size);
