#include "logo/gif_input_file.h"

#include <filesystem>
#include <system_error>

namespace quarvel {

bool GifInputFile::open(const std::string& path) {
    close();
    // A directory opens for reading on some systems but holds no picture.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
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
