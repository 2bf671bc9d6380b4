#include "sim/symbolic_link.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace quarvel {

namespace {

std::optional<std::string> linkTarget(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) {
        return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(length));
    return target;
}

} // namespace

std::optional<SymbolicLink> SymbolicLink::create(const std::string& path, const std::string& target,
                                                 std::string& error) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = path + " exists and is not a symbolic link; not replacing it";
            return std::nullopt;
        }
        ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
        error = "cannot make the link " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return SymbolicLink(path, target);
}

SymbolicLink::SymbolicLink(std::string path, std::string target)
    : m_path(std::move(path)), m_target(std::move(target)) {}

SymbolicLink::SymbolicLink(SymbolicLink&& other) noexcept
    : m_path(std::exchange(other.m_path, {})), m_target(std::move(other.m_target)) {}

SymbolicLink::~SymbolicLink() {
    // Another ktv-sim may have taken the name over since.
    if (!m_path.empty() && linkTarget(m_path) == m_target) {
        ::unlink(m_path.c_str());
    }
}

} // namespace quarvel
