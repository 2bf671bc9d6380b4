#pragma once

#include <filesystem>
#include <string_view>

namespace quarvel {

// The folder that holds the settings file: the user's roaming application data on Windows
// (%APPDATA%), since a standard user may not write the Windows folder; elsewhere
// $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path settingsFolder();

// Where a settings file of the same name lived before, to be taken over once: the Windows
// folder, where the private-profile functions put a bare file name. Empty elsewhere.
std::filesystem::path earlierSettingsFilePath(const std::filesystem::path& executablePath);

// The settings file of the program whose executable is executablePath: its file name without
// folder and extension followed by ".INI", so two differently named copies keep separate files.
std::filesystem::path settingsFilePath(const std::filesystem::path& executablePath = "quarvel");

} // namespace quarvel
