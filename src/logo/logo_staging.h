#pragma once

#include <filesystem>
#include <system_error>

namespace quarvel {

// True for a file that is loaded as a logo: its extension is gif, in any case.
bool isLogoPicture(const std::filesystem::path& file);

// The folder a picture is converted in before it is loaded: the program's own folder where the
// user may write it and the program is not installed, otherwise the program's folder in the
// user's cache, created here. Empty when neither can be had.
std::filesystem::path logoStagingFolder(const std::filesystem::path& executable);

// The converted logo that every load of a picture shares: "Temp.s21" in the staging folder.
// Empty when there is no staging folder.
std::filesystem::path stagedLogoPath(const std::filesystem::path& executable);

// A logo file of the caller's own in the staging folder, created empty under a name nobody else
// holds, for a run that must not share "Temp.s21"; the caller removes it when done. Empty when
// it cannot be created, error then holding the system's reason; error stays clear where there is
// no staging folder to name at all.
std::filesystem::path reserveOwnLogoFile(const std::filesystem::path& executable,
                                         std::error_code& error);

} // namespace quarvel
