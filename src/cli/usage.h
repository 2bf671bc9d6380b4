#pragma once

#include <string>
#include <string_view>

namespace quarvel {

// usage is a command's synopsis, its name first ("check [--boot] FILE").

// Prints the synopsis and the details on the output, for -h/--help; answers ExitSuccess.
int printHelp(std::string_view usage, std::string_view details);
// Says what was wrong with the command line and how it goes, on the error stream; answers
// ExitUsage.
int badUsage(std::string_view usage, const std::string& error);

} // namespace quarvel
