#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

// What replacing a file whole must respect of the file it replaces, each system's way: the
// symbolic links that lead to it, its permissions, a read-only mark, and a replace that a power
// cut cannot half do.

namespace quarvel {

// The file that a write through path reaches: path itself, or the end of its symbolic links.
std::filesystem::path followLinks(const std::filesystem::path& path, std::error_code& error);

// Why the file at path must not be replaced ("the file is read-only", or the system's words),
// or an empty text when it may be, or does not exist yet.
std::string whyNotReplaceable(const std::filesystem::path& path);

// Puts what was written to file on disk.
std::error_code syncToDisk(std::FILE* file);

// Puts from in to's place in one step, with the permissions to had; to is never removed first.
// When synced, the folder's new entry reaches the disk too.
std::error_code replaceFile(const std::filesystem::path& from, const std::filesystem::path& to,
                            bool synced);

} // namespace quarvel
