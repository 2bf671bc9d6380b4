#include "image/program_file.h"

#include "files/path_text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quarvel {

ProgramFile::~ProgramFile() {
    close();
}

bool ProgramFile::open(const std::string& path) {
    close();
    // Directories and devices open on some systems but cannot be measured or rewound.
    // The name is the program's text; the standard library takes it as the system's path only
    // after converting it (on Windows, a narrow name is not UTF-8 to it).
    const auto file = pathFromText(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const auto bytes = std::filesystem::file_size(file, error);
    if (error) {
        return false;
    }
    m_file = std::fopen(path.c_str(), "rb");
    if (m_file == nullptr) {
        return false;
    }
    // Reads go straight into our own block; a second buffer in stdio would only copy.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    if (!m_block) {
        m_block = std::make_unique<char[]>(kBlockSize);
    }
    m_size = static_cast<std::int64_t>(bytes);
    resetBlock();
    m_readFailed = false;
    return true;
}

void ProgramFile::close() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_size = -1;
    m_readFailed = false;
    resetBlock();
}

std::int64_t ProgramFile::position() const {
    return m_blockStart + static_cast<std::int64_t>(m_blockNext);
}

void ProgramFile::rewind() {
    if (m_file == nullptr) {
        return;
    }
    std::rewind(m_file);
    resetBlock();
}

std::span<const char> ProgramFile::pending() {
    if (m_file == nullptr || m_ended) {
        return {};
    }
    if (m_blockNext == m_blockFill) {
        m_blockStart += static_cast<std::int64_t>(m_blockFill);
        m_blockNext = 0;
        m_blockFill = std::fread(m_block.get(), 1, kBlockSize, m_file);
        if (m_blockFill == 0) {
            m_readFailed = m_readFailed || std::ferror(m_file) != 0;
            m_ended = true;
            return {};
        }
    }
    return {m_block.get() + m_blockNext, m_blockFill - m_blockNext};
}

void ProgramFile::consume(std::size_t count) {
    m_blockNext += std::min(count, m_blockFill - m_blockNext);
}

void ProgramFile::resetBlock() {
    m_blockFill = 0;
    m_blockNext = 0;
    m_blockStart = 0;
    m_ended = false;
}

} // namespace quarvel
