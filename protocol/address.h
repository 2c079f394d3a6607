// Where the host finds its controlling process: the abstract-namespace UNIX address
// NUL "zema" NUL. Abstract addresses belong to a network namespace, so a controlling
// process listens in the network namespace the host runs in.
#pragma once

#include <cstddef>

namespace zema::protocol {

// The bytes of sun_path; the address length given to bind and connect is
// offsetof(sockaddr_un, sun_path) + sizeof(kChannelPath), 8 in all.
constexpr char kChannelPath[] = {'\0', 'z', 'e', 'm', 'a', '\0'};
static_assert(sizeof(kChannelPath) == 6);

}  // namespace zema::protocol
