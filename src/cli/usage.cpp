#include "cli/usage.h"

#include "cli/commands.h"

#include <cstdio>

namespace quarvel {

int printHelp(std::string_view usage, std::string_view details) {
    std::printf("usage: quarvel-cli %.*s\n%.*s", static_cast<int>(usage.size()), usage.data(),
                static_cast<int>(details.size()), details.data());
    return ExitSuccess;
}

int badUsage(std::string_view usage, const std::string& error) {
    const std::string_view command = usage.substr(0, usage.find(' '));
    std::fprintf(stderr, "quarvel-cli %.*s: %s\nusage: quarvel-cli %.*s\n",
                 static_cast<int>(command.size()), command.data(), error.c_str(),
                 static_cast<int>(usage.size()), usage.data());
    return ExitUsage;
}

} // namespace quarvel
