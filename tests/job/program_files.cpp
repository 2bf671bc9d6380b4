#include "program_files.h"

#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace quarvel::test {
namespace {

constexpr std::size_t kFlashSize = 0x80000;

void runTool(const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        throw std::runtime_error("failed: " + command);
    }
}

std::string quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

} // namespace

const std::filesystem::path& testFolder() {
    static const TemporaryFolder folder;
    return folder.path();
}

std::filesystem::path testFolderFor(const std::string& name) {
    const auto folder = testFolder() / name;
    std::filesystem::create_directories(folder);
    return folder;
}

std::vector<std::uint8_t> patternBytes(std::size_t count, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

std::filesystem::path writeProgram(const std::filesystem::path& folder, const std::string& name,
                                   const ProgramLayout& layout) {
    std::string command = SREC_CAT_PATH;
    for (std::size_t i = 0; i < layout.blocks.size(); ++i) {
        const auto input = folder / (name + "." + std::to_string(i) + ".bin");
        std::ofstream(input, std::ios::binary)
            .write(reinterpret_cast<const char*>(layout.blocks[i].bytes.data()),
                   static_cast<std::streamsize>(layout.blocks[i].bytes.size()));
        command +=
            " " + quoted(input) + " -binary -offset " + std::to_string(layout.blocks[i].address);
    }
    const auto output = folder / (name + ".a21");
    command += " -o " + quoted(output) + " -header=" + name +
               " -execution-start-address=0 -disable=data-count" +
               " -obs=" + std::to_string(layout.bytesPerRecord) +
               " -address-length=" + std::to_string(layout.addressLength) +
               (layout.crlf ? " -line-termination=crlf" : " -line-termination=nl");
    runTool(command);
    return output;
}

std::filesystem::path writeLines(const std::filesystem::path& folder, const std::string& name,
                                 const std::vector<std::string>& lines) {
    const auto output = folder / (name + ".a21");
    std::ofstream file(output, std::ios::binary);
    for (const auto& line : lines) {
        file << line << "\r\n";
    }
    return output;
}

std::vector<std::uint8_t> expectedFlash(const std::filesystem::path& program) {
    const auto image = std::filesystem::path(program).replace_extension(".flash");
#ifndef QUARVEL_JOB_PROGRAM_DIR
    // A build for Windows, where srec_cat does not run, finds the image written at build time.
    runTool(std::string(SREC_CAT_PATH) + " " + quoted(program) + " -fill 0xFF 0 " +
            std::to_string(kFlashSize) + " -o " + quoted(image) + " -binary");
#endif
    return fileBytes(image);
}

std::vector<std::string> fileLines(const std::filesystem::path& file) {
    std::ifstream input(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(input, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<int> percentagesByOffset(const std::filesystem::path& file) {
    const auto size = static_cast<std::int64_t>(std::filesystem::file_size(file));
    std::vector<int> percents;
    std::int64_t offset = 0;
    for (const auto& line : fileLines(file)) {
        offset += static_cast<std::int64_t>(line.size()) + 2;
        percents.push_back(static_cast<int>((200 * offset + size) / (2 * size)));
    }
    return percents;
}

} // namespace quarvel::test
