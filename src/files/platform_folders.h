#pragma once

#include <filesystem>

// The folders a program finds through its operating system; each system's lookups live in a
// file of their own.

namespace quarvel {

// The path of the running program; empty when the system does not say.
std::filesystem::path runningExecutable();

// This program's folder in the user's cache (not created here); empty when the user has none.
std::filesystem::path userCacheFolder();

// The environment variable that names the user's cache where the system knows of none.
const char* userCacheVariable();

// True when the running user may create files in the folder.
bool userMayWriteInto(const std::filesystem::path& folder);

} // namespace quarvel
