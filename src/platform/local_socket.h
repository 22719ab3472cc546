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

// A listening socket at `path`, in place of any file there; invalid on failure. Only a folder nobody else may
// enter keeps other users from connecting to it.
FileDescriptor listenLocalSocket(const std::string& path);

// The next waiting connection on a listening socket; invalid when none is waiting (errno EAGAIN) or when it
// cannot be taken (errno says why, such as EMFILE), and the connection then stays queued.
FileDescriptor acceptLocalSocket(int listener);

// Whether the process at the other end of a connected socket runs as this process's user: the kernel's record
// from when it connected or listened, which the peer cannot forge.
bool peerIsThisUser(int fd);

// Whether `path` itself, not followed if it is a link, is a folder of this user's own with mode 0700, so that
// nobody else can make, replace or reach anything in it.
bool isPrivateFolder(const std::string& path);

}  // namespace tarvelin
