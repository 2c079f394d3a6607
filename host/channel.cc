#include "host/channel.h"

#include <errno.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

bool writeAll(int fd, const void* data, size_t size) {
  auto* p = static_cast<const char*>(data);
  while (size > 0) {
    // MSG_NOSIGNAL: a vanished peer must not kill the host with SIGPIPE.
    ssize_t n = send(fd, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

void writeMessage(int fd, const void* fixed, size_t size,
                  std::initializer_list<ChannelPiece> trailing) {
  if (!writeAll(fd, fixed, size)) return;
  for (const ChannelPiece& piece : trailing) {
    if (piece.size > 0 && !writeAll(fd, piece.data, piece.size)) return;
  }
}

ReadResult readFully(int fd, void* buffer, size_t size) {
  auto* p = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t n = read(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadResult::kError;
    if (n == 0) return ReadResult::kEndOfStream;
    p += n;
    size -= static_cast<size_t>(n);
  }
  return ReadResult::kOk;
}

ReadResult skipBytes(int fd, uint64_t size) {
  char scratch[4096];
  while (size > 0) {
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(size, sizeof(scratch)));
    ReadResult r = readFully(fd, scratch, chunk);
    if (r != ReadResult::kOk) return r;
    size -= chunk;
  }
  return ReadResult::kOk;
}
