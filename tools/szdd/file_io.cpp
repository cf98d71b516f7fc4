// Whole-file reading and all-or-nothing writing (temporary file + rename), POSIX.
#include "file_io.h"

#include "write_all.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace szdd::io {
namespace {

// Returns the text of the current errno.
std::string LastError() { return std::strerror(errno); }

// Returns the folder part of path, with its separator ("" for the current folder).
std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool ReadFile(const std::string& path, std::vector<uint8_t>& data, std::string& error) {
    data.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open: " + LastError();
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = "cannot read: " + LastError();
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "is a folder, not a file" : "not a regular file";
        ::close(fd);
        return false;
    }
    data.resize(size_t(st.st_size));
    size_t got = 0;
    while (got < data.size()) {
        ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = "cannot read: " + LastError();
            ::close(fd);
            data.clear();
            return false;
        }
        if (n == 0) break;  // shrank while we read
        got += size_t(n);
    }
    ::close(fd);
    data.resize(got);
    return true;
}

bool WriteFileAtomic(const std::string& path, const uint8_t* data, size_t size, std::string& error) {
    std::string temp = FolderOf(path) + ".szdd-tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot create a file in its folder: " + LastError();
        return false;
    }
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && wrenfield::WriteAll(fd, data, size);
    if (!ok) error = "cannot write: " + LastError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = "cannot write: " + LastError();
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        error = "cannot create: " + LastError();
    }
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace szdd::io
