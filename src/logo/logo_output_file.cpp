#include "logo/logo_output_file.h"

#include <filesystem>
#include <system_error>

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
    m_outputPath = outputPath;
    m_temporaryPath = outputPath + std::string(kTemporarySuffix);
    m_writeFailed = false;
    m_file = std::fopen(m_temporaryPath.c_str(), "wb");
    return m_file != nullptr;
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
