#pragma once

#include <filesystem>
#include <string_view>

namespace quarvel {

// The folder that holds the settings file: the Windows folder on Windows, where the
// private-profile functions put a bare file name; elsewhere $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path settingsFolder();

// The settings file of the program whose executable is executablePath: its file name without
// folder and extension followed by ".INI", so two differently named copies keep separate files.
std::filesystem::path settingsFilePath(const std::filesystem::path& executablePath = "quarvel");

} // namespace quarvel
