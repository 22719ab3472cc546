#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/file_descriptor.h"

namespace tarvelin {

// Unix-domain stream sockets named by a path, for one start of the program to reach another on this machine.
// Every descriptor is non-blocking and closed on exec; writes never raise SIGPIPE.

// A connection to the socket at `path`, tried until `timeout` while the listener's queue is full; invalid
// when nothing listens there or the path is too long for a socket address.
FileDescriptor connectLocalSocket(const std::string& path, std::chrono::milliseconds timeout);

// Writes all of `bytes` within `timeout`; false on an error, a closed peer or the timeout.
bool sendAll(int fd, std::string_view bytes, std::chrono::milliseconds timeout);

// The next byte the peer sends within `timeout`; -1 on an error, the end of the stream or the timeout.
int receiveByte(int fd, std::chrono::milliseconds timeout);

// A listening socket at `path`, in place of any file there. Outside a folder only the user may enter
// (`folderIsPrivate` false), the socket is bound in a private folder beside `path`, restricted to its user
// and then moved into place, so that nobody else can connect to it meanwhile. Invalid on failure.
FileDescriptor listenLocalSocket(const std::string& path, bool folderIsPrivate);

// The next waiting connection on a listening socket; invalid when none is waiting.
FileDescriptor acceptLocalSocket(int listener);

}  // namespace tarvelin
