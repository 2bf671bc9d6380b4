#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// File names as the programs' text carries them, and the paths the standard library opens. The
// text is the system's own bytes on POSIX and UTF-8 on Windows, where the programs ask for UTF-8
// as their code page; a name that does not convert never throws, it is mended instead.

namespace quarvel {

std::filesystem::path pathFromText(std::string_view text);

std::string textFromPath(const std::filesystem::path& path);

} // namespace quarvel
