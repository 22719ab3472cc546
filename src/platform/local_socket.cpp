#include "platform/local_socket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace tarvelin {
namespace {

using Clock = std::chrono::steady_clock;

bool addressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

FileDescriptor newSocket() {
    return FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Whether `fd` became ready for `events` before `deadline`.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, millisecondsLeft(deadline));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

bool bindAndListen(int fd, const std::string& path) {
    sockaddr_un address;
    return addressOf(path, address) &&
           ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           ::listen(fd, SOMAXCONN) == 0;
}

}  // namespace

FileDescriptor connectLocalSocket(const std::string& path, std::chrono::milliseconds timeout) {
    sockaddr_un address;
    if (!addressOf(path, address)) return FileDescriptor();
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        FileDescriptor fd = newSocket();
        if (!fd.valid()) return fd;
        if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
        // A full queue is the only wait worth making; anything else means nobody listens.
        if (errno != EAGAIN || Clock::now() >= deadline) return FileDescriptor();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool sendAll(int fd, std::string_view bytes, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(fd, POLLOUT, deadline)) return false;
        } else {
            return false;
        }
    }
    return true;
}

int receiveByte(int fd, std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        unsigned char byte = 0;
        const ssize_t got = ::recv(fd, &byte, 1, 0);
        if (got == 1) return byte;
        if (got == 0) return -1;
        if (errno == EINTR) continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || !waitFor(fd, POLLIN, deadline)) return -1;
    }
}

FileDescriptor listenLocalSocket(const std::string& path) {
    FileDescriptor fd = newSocket();
    if (!fd.valid()) return fd;
    ::unlink(path.c_str());
    return bindAndListen(fd.get(), path) ? std::move(fd) : FileDescriptor();
}

FileDescriptor acceptLocalSocket(int listener) {
    for (;;) {
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        // A peer that gave up before it was taken is no reason to stop taking the others.
        if (fd >= 0 || (errno != EINTR && errno != ECONNABORTED)) return FileDescriptor(fd);
    }
}

bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           size == sizeof credentials && credentials.uid == ::geteuid();
}

bool isPrivateFolder(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 0777) == 0700;
}

}  // namespace tarvelin
