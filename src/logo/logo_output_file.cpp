#include "logo/logo_output_file.h"

#include "files/path_text.h"

#include <filesystem>
#include <system_error>

namespace quarvel {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

bool LogoOutputFile::create(const std::string& outputPath) {
    m_file.reset();
    const auto target = pathFromText(outputPath);
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return false;
    }
    // The logo is made again from its picture at every load: not worth waiting for the disk.
    m_file.emplace(target, WholeFileWriter::Durability::Unsynced);
    if (!m_file->isOpen()) {
        m_file.reset();
        return false;
    }
    return true;
}

void LogoOutputFile::writeLine(std::string_view line) {
    if (m_file) {
        m_file->write(line);
        m_file->write(kLineEnd);
    }
}

bool LogoOutputFile::commit() {
    const bool committed = m_file && m_file->commit();
    m_file.reset();
    return committed;
}

} // namespace quarvel
