#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace quarvel {

// A GIF file read as raw bytes through a buffer of its own.
class GifInputFile {
public:
    GifInputFile() = default;
    ~GifInputFile() { close(); }
    GifInputFile(const GifInputFile&) = delete;
    GifInputFile& operator=(const GifInputFile&) = delete;

    bool open(const std::string& path);
    void close();

    // 0 to 255, or -1 at the end of the file, after a read failure, or when nothing is open.
    int readByte() {
        if (m_position == m_filled && !fill()) {
            return -1;
        }
        return m_buffer[m_position++];
    }

    // Fills bytes; false when the file ended first.
    bool readBytes(std::span<std::uint8_t> bytes);

private:
    bool fill();

    std::FILE* m_file = nullptr;
    std::array<std::uint8_t, 4096> m_buffer{};
    std::size_t m_position = 0;
    std::size_t m_filled = 0;
};

} // namespace quarvel
