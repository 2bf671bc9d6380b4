#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quarvel {

// True for a file that is loaded as a logo: its extension is gif, in any case.
bool isLogoPicture(const std::filesystem::path& file);

// Where the converted logo goes: Temp.s21 beside the executable when that folder is writable,
// otherwise in the user's cache folder ($XDG_CACHE_HOME/quarvel or ~/.cache/quarvel).
std::filesystem::path convertedLogoPath();

// Converts the picture into the logo file and answers that file's path; on failure says why on
// the error stream and answers nothing.
std::optional<std::string> stageLogo(const std::string& picture);

} // namespace quarvel
