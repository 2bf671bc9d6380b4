#include "logo/gif_input_file.h"

#include "files/path_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quarvel {

bool GifInputFile::open(const std::string& path) {
    close();
    // A directory opens for reading on some systems but holds no picture.
    std::error_code error;
    if (std::filesystem::is_directory(pathFromText(path), error)) {
        return false;
    }
    m_file = std::fopen(path.c_str(), "rb");
    return m_file != nullptr;
}

void GifInputFile::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_position = 0;
    m_filled = 0;
}

bool GifInputFile::readBytes(std::span<std::uint8_t> bytes) {
    while (!bytes.empty()) {
        if (m_position == m_filled && !fill()) {
            return false;
        }
        const std::size_t take = std::min(bytes.size(), m_filled - m_position);
        std::copy_n(m_buffer.begin() + static_cast<std::ptrdiff_t>(m_position), take,
                    bytes.begin());
        m_position += take;
        bytes = bytes.subspan(take);
    }
    return true;
}

bool GifInputFile::fill() {
    if (m_file == nullptr) {
        return false;
    }
    m_filled = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
    m_position = 0;
    if (m_filled == 0) {
        // Once the input has ended it stays ended, as the byte source promises.
        close();
        return false;
    }
    return true;
}

} // namespace quarvel
