#pragma once

#include <filesystem>

namespace quarvel {

// The help page: the executable's path with its extension replaced by ".html" when that page is
// there (a build tree, a copied program), otherwise the page of the same name in the installed
// data folder. When neither exists the first is named, and the viewer reports it missing.
std::filesystem::path helpFilePath(const std::filesystem::path& executablePath,
                                   const std::filesystem::path& dataFolder);

} // namespace quarvel
