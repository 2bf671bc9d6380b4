#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

// The system's user and group databases, read in ways that are safe while other threads read
// them too (the loads of a gang run on threads of their own). POSIX systems only.

namespace quarvel {

// The running user's home folder as the password database gives it; empty when it gives none
// or one that is not absolute.
std::filesystem::path homeFolderOfUser();

// The name of the group with that id; nothing when the group database does not know it.
std::optional<std::string> groupName(gid_t id);

} // namespace quarvel
