#include "logo/logo_output_file.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace quarvel {

namespace {

constexpr std::string_view kTemporarySuffix = ".partial";
constexpr std::string_view kLineEnd = "\r\n";

} // namespace

LogoOutputFile::~LogoOutputFile() {
    discard();
}

bool LogoOutputFile::create(const std::string& outputPath) {
    discard();
    m_writeFailed = false;
    std::error_code error;
    if (std::filesystem::is_directory(outputPath, error)) {
        return false;
    }
    std::string temporaryPath = outputPath + std::string(kTemporarySuffix);
    m_file = std::fopen(temporaryPath.c_str(), "wb");
    if (m_file == nullptr) {
        return false;
    }
    m_outputPath = outputPath;
    m_temporaryPath = std::move(temporaryPath);
    return true;
}

void LogoOutputFile::writeLine(std::string_view line) {
    if (m_file == nullptr) {
        m_writeFailed = true;
        return;
    }
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size() ||
        std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), m_file) != kLineEnd.size()) {
        m_writeFailed = true;
    }
}

bool LogoOutputFile::commit() {
    if (m_file == nullptr) {
        return false;
    }
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    std::error_code error;
    if (closed && !m_writeFailed) {
        // Renaming over an existing file makes some file systems flush it to disk first, which
        // costs far more than the whole conversion; the logo is complete either way.
        std::filesystem::remove(m_outputPath, error);
        std::filesystem::rename(m_temporaryPath, m_outputPath, error);
        if (!error) {
            m_temporaryPath.clear();
            return true;
        }
    }
    discard();
    return false;
}

void LogoOutputFile::discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporaryPath.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporaryPath, ignored);
        m_temporaryPath.clear();
    }
}

} // namespace quarvel
