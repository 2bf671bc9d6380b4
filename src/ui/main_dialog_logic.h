#pragma once

#include "ui/loading_run.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quarvel {

// The values the main dialog remembers between runs: list indexes, not port or channel numbers.
struct LastValues {
    int portIndex = 0;
    int channelIndex = 0;
    std::string filePath;
};

// What the main dialog needs from the program around it.
struct LoaderServices {
    std::function<LastValues()> readLastValues;
    std::function<void(const LastValues&)> writeLastValues;
    // Where a GIF picture is converted to before it is loaded.
    std::function<std::filesystem::path()> convertedLogoPath;
    // Opens the help page in the system's viewer; false when no viewer could be started.
    std::function<bool()> openHelp;
};

// The main dialog's title once it has opened: the loader's name, a blank and its version.
inline constexpr std::string_view kLoaderTitle = "KTV-271 Vantor RS232 Program Loader V1.20";
// The caption of the program's message boxes.
inline constexpr std::string_view kApplicationTitle = "quarvel Windows Application";
inline constexpr std::string_view kHelpFailedText = "Failed to launch help.";
inline constexpr std::string_view kChooseChannelText = "Choose the MIDI channel of the device.";

// Browse's file-open dialog: the first filter is the one selected.
inline constexpr std::string_view kProgramFilterName = "A21 Files (*.a21)";
inline constexpr std::string_view kProgramFilterPattern = "*.a21";
inline constexpr std::string_view kEveryFileFilterName = "All Files (*.*)";
inline constexpr std::string_view kEveryFileFilterPattern = "*.*";
inline constexpr std::string_view kDefaultExtension = "a21";

// The selection a list of itemCount items shows for a stored index: an index the list does not
// have leaves it without a selection (-1).
int shownIndex(int index, int itemCount);

// What Go leads to: a load to run, or none, with a message for the operator where there is
// something to tell.
struct TransferPlan {
    std::optional<LoadRequest> load;
    std::string_view message;
};

// A channel list without a selection starts no load: its channel is no MIDI data byte. A GIF
// picture is converted first, synchronously; one that cannot be converted ends the transfer
// without a word.
TransferPlan planTransfer(const LastValues& values, const LoaderServices& services);

} // namespace quarvel
