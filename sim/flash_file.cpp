#include "sim/flash_file.h"

#include <cerrno>
#include <cstring>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

std::string failure(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Empty when every byte reached the disk.
std::string writeAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno != EINTR) {
            return failure("cannot write " + path);
        }
        written += count > 0 ? static_cast<std::size_t>(count) : 0;
    }
    if (::fchmod(fd, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH) != 0 || ::fsync(fd) != 0) {
        return failure("cannot finish " + path);
    }
    return {};
}

} // namespace

std::string writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return failure("cannot create a file beside " + path);
    }
    std::string error = writeAll(fd, bytes, path);
    if (::close(fd) != 0 && error.empty()) {
        error = failure("cannot close " + path);
    }
    if (error.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = failure("cannot replace " + path);
    }
    if (!error.empty()) {
        ::unlink(temporary.c_str());
    }
    return error;
}

} // namespace quarvel
