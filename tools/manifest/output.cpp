// All-or-nothing writing: temporary files beside the targets, renamed at the end (POSIX).
#include "output.h"

#include "write_all.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wrenfield::manifest {
namespace {

namespace fs = std::filesystem;

std::string LastError() { return std::strerror(errno); }

// Writes text to a new temporary file in folder and returns its path, or "" with error set.
std::string WriteTemporary(const fs::path& folder, const GeneratedFile& file, std::string& error) {
    std::string temp = (folder / ("." + file.name + ".tmp-XXXXXX")).string();
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = (folder / file.name).string() + ": cannot create: " + LastError();
        return "";
    }
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    mode_t mask = ::umask(0);
    ::umask(mask);
    bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && wrenfield::WriteAll(fd, file.text.data(), file.text.size());
    if (!ok) error = (folder / file.name).string() + ": cannot write: " + LastError();
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = (folder / file.name).string() + ": cannot write: " + LastError();
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return "";
    }
    return temp;
}

}  // namespace

bool WriteFiles(const fs::path& folder, const std::vector<GeneratedFile>& files, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        error = folder.string() + ": cannot create the folder" + (ec ? ": " + ec.message() : std::string());
        return false;
    }
    std::vector<std::string> temps;
    for (const GeneratedFile& file : files) {
        std::string temp = WriteTemporary(folder, file, error);
        if (temp.empty()) {
            for (const std::string& t : temps) ::unlink(t.c_str());
            return false;
        }
        temps.push_back(temp);
    }
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string target = (folder / files[i].name).string();
        if (::rename(temps[i].c_str(), target.c_str()) != 0) {
            error = target + ": cannot create: " + LastError();
            for (size_t j = i; j < temps.size(); ++j) ::unlink(temps[j].c_str());
            return false;
        }
    }
    return true;
}

}  // namespace wrenfield::manifest
