#include "files/replaced_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

// As many links as Linux follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

std::error_code lastError() {
    return {errno, std::generic_category()};
}

} // namespace

std::filesystem::path followLinks(const std::filesystem::path& path, std::error_code& error) {
    std::filesystem::path reached = path;
    for (int links = 0; std::filesystem::is_symlink(std::filesystem::symlink_status(reached));
         ++links) {
        if (links == kMostLinks) {
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return path;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(reached, error);
        if (error) {
            return path;
        }
        reached = next.is_absolute() ? next : reached.parent_path() / next;
    }
    return reached;
}

std::string whyNotReplaceable(const std::filesystem::path& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) != 0) {
        return {};
    }
    // Marked read-only by its owner: refused even where the folder would let it be renamed
    // over, and even for root, as Windows refuses a read-only file.
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return "the file is read-only";
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return std::strerror(errno);
    }
    return {};
}

std::error_code syncToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0 ? std::error_code() : lastError();
}

std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                            bool synced) {
    struct stat old {};
    if (::stat(to.c_str(), &old) == 0) {
        // Owner and group only where the system lets this user give them; the mode always.
        [[maybe_unused]] const int owned = ::chown(from.c_str(), old.st_uid, old.st_gid);
        if (::chmod(from.c_str(), old.st_mode & 07777) != 0) {
            return lastError();
        }
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return lastError();
    }
    if (synced) {
        // The rename lives in the folder: without this a power cut can bring the old file back.
        // The new file is in place whatever this answers, and some file systems cannot sync a
        // folder, so its answer is not a failure of the replace.
        const std::filesystem::path folder = to.has_parent_path() ? to.parent_path() : ".";
        const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor >= 0) {
            ::fsync(descriptor);
            ::close(descriptor);
        }
    }
    return {};
}

} // namespace quarvel
