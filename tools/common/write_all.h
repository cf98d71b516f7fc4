// Writing a whole buffer to a POSIX file descriptor, shared by the host tools.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace wrenfield {

// Writes all size bytes of data to fd, going on after short writes and
// interruptions; false on any error (errno tells which).
inline bool WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= size_t(n);
    }
    return true;
}

}  // namespace wrenfield
