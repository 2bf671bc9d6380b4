#include "files/user_database.h"

#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace quarvel {
namespace {

constexpr std::size_t kFirstBufferSize = 1024;
// An entry larger than this is no entry a program should trust.
constexpr std::size_t kLargestBufferSize = 1 << 20;

// Calls lookup(buffer) with a buffer that grows while the entry does not fit in it; answers
// true when lookup found the entry.
template <typename Lookup> bool withBuffer(Lookup lookup) {
    std::vector<char> buffer(kFirstBufferSize);
    for (;;) {
        const int error = lookup(buffer);
        if (error != ERANGE || buffer.size() >= kLargestBufferSize) {
            return error == 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::filesystem::path homeFolderOfUser() {
    passwd entry{};
    passwd* found = nullptr;
    std::filesystem::path home;
    withBuffer([&](std::vector<char>& buffer) {
        const int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr && found->pw_dir != nullptr && *found->pw_dir == '/') {
            home = found->pw_dir;
        }
        return error;
    });
    return home;
}

std::optional<std::string> groupName(gid_t id) {
    group entry{};
    group* found = nullptr;
    std::optional<std::string> name;
    withBuffer([&](std::vector<char>& buffer) {
        const int error = ::getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found);
        if (error == 0 && found != nullptr && found->gr_name != nullptr) {
            name = found->gr_name;
        }
        return error;
    });
    return name;
}

} // namespace quarvel
