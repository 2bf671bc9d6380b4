#pragma once

#include "link/byte_channel.h"
#include "settings/profile_file.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace quarvel {

class LoadJob;
class LoaderDialog;

// The program: boot mode from the command line, the settings file and the paths derived from
// the executable, and the main dialog run modally until it is closed.
class LoaderApp {
public:
    // arguments: the command line after the program's name. startedAs: the program as it was
    // started, which names the settings file; a link to the program under another name keeps
    // settings of its own, as a renamed copy does. Empty for the executable itself.
    LoaderApp(std::filesystem::path executablePath, std::string_view arguments,
              const std::filesystem::path& startedAs = {});

    bool bootMode() const { return m_bootMode; }
    const ProfileFile& settings() const { return m_settings; }

    // The opener of real serial lines, naming devices through the settings file.
    ChannelOpener serialOpener() const;
    // The main dialog, reading and writing this program's settings and loading with job.
    std::unique_ptr<LoaderDialog> makeMainDialog(LoadJob& job);
    // Runs the main dialog until it closes; the exit code, always 0.
    int run();

private:
    std::filesystem::path m_executablePath;
    bool m_bootMode = false;
    ProfileFile m_settings;
};

} // namespace quarvel
