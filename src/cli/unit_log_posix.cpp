#include "cli/unit_log.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

bool UnitLog::append(std::string_view line, std::string& error) {
    const std::lock_guard lock(m_mutex);
    const std::string text = std::string(line) + '\n';
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot open the log " + m_path + ": " + std::strerror(errno);
        return false;
    }
    struct stat before {};
    bool whole = ::fstat(fd, &before) == 0;
    std::size_t written = 0;
    while (whole && written < text.size()) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        whole = count > 0;
        written += whole ? static_cast<std::size_t>(count) : 0;
    }
    whole = whole && ::fsync(fd) == 0;
    if (!whole) {
        error = "cannot write the log " + m_path + ": " + std::strerror(errno);
        // A record is there whole or not at all.
        static_cast<void>(::ftruncate(fd, before.st_size));
    }
    ::close(fd);
    return whole;
}

} // namespace quarvel
