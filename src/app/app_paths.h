#pragma once

#include <filesystem>

namespace quarvel {

// The help page: the executable's path with its extension replaced by ".html" when that page is
// there (a build tree, a copied program), otherwise the page of the same name in the installed
// data folder. When neither exists the first is named, and the viewer reports it missing.
std::filesystem::path helpFilePath(const std::filesystem::path& executablePath,
                                   const std::filesystem::path& dataFolder);

// The user's cache folder: $XDG_CACHE_HOME, or ~/.cache.
std::filesystem::path cacheFolder();

// Where a GIF picture is converted to: "Temp.s21" in the program folder, or, where that folder
// cannot be written (an installed program), in the program's own folder of the user's cache.
std::filesystem::path convertedLogoPath(const std::filesystem::path& programFolder);

} // namespace quarvel
