#include "files/whole_file_writer.h"

#include "files/unique_file.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quarvel {

namespace {

bool syncToDisk(std::FILE* file) {
#ifdef _WIN32
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)))) != 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// Replaces the target in one step; the target is never removed first. Answers why it failed.
std::error_code replace(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
    if (::MoveFileExW(from.c_str(), to.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return {static_cast<int>(::GetLastError()), std::system_category()};
    }
#else
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return {errno, std::generic_category()};
    }
#endif
    return {};
}

std::error_code lastError() {
    return {errno, std::generic_category()};
}

} // namespace

WholeFileWriter::WholeFileWriter(std::filesystem::path target, Durability durability)
    : m_target(std::move(target)), m_durability(durability) {
    m_file = createUniqueFile(m_target, ".tmp", m_temporary);
    if (m_file == nullptr) {
        fail("cannot create a file beside", lastError());
    }
}

WholeFileWriter::~WholeFileWriter() {
    discard();
}

void WholeFileWriter::write(std::string_view bytes) {
    if (m_file != nullptr && m_failure.empty() &&
        std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        fail("cannot write", lastError());
    }
}

bool WholeFileWriter::commit() {
    if (m_file == nullptr || !m_failure.empty()) {
        discard();
        return false;
    }
    if (std::fflush(m_file) != 0 || (m_durability == Durability::Synced && !syncToDisk(m_file))) {
        fail("cannot write", lastError());
    }
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0 && m_failure.empty()) {
        fail("cannot write", lastError());
    }
    if (m_failure.empty()) {
        if (const auto error = replace(m_temporary, m_target)) {
            fail("cannot replace", error);
        }
    }
    if (!m_failure.empty()) {
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void WholeFileWriter::fail(std::string_view what, const std::error_code& error) {
    m_failure = std::string(what) + " " + m_target.string() + ": " + error.message();
}

void WholeFileWriter::discard() {
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temporary.empty()) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
        m_temporary.clear();
    }
}

} // namespace quarvel
