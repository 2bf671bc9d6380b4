#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace quarvel::test {

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
