#include "app/app_paths.h"

#include <system_error>

namespace quarvel {

std::filesystem::path helpFilePath(const std::filesystem::path& executablePath,
                                   const std::filesystem::path& dataFolder) {
    auto besideProgram = executablePath;
    besideProgram.replace_extension(".html");
    std::error_code error;
    if (std::filesystem::exists(besideProgram, error)) {
        return besideProgram;
    }
    auto installed = dataFolder / besideProgram.filename();
    return std::filesystem::exists(installed, error) ? installed : besideProgram;
}

} // namespace quarvel
