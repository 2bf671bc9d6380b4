#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quarvel::test {

// Every byte of a file, as stored; nothing for a file that cannot be read.
inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The whole file as text, line ends as stored; empty for a file that cannot be read.
inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// All that was written to a file the test holds open, read from its start.
inline std::string readBack(std::FILE* file) {
    std::rewind(file);
    std::string text;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file) != nullptr) {
        text += buffer.data();
    }
    return text;
}

} // namespace quarvel::test
