#include "files/whole_file_writer.h"

#include "files/path_text.h"
#include "files/replaced_file.h"
#include "files/unique_file.h"

#include <cerrno>
#include <system_error>

namespace quarvel {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

} // namespace

WholeFileWriter::WholeFileWriter(std::filesystem::path target, Durability durability)
    : m_target(std::move(target)), m_durability(durability) {
    // Through a symbolic link the file it leads to is replaced, and the link stays a link.
    std::error_code error;
    m_replaced = followLinks(m_target, error);
    if (error) {
        fail("cannot write", error.message());
        return;
    }
    if (const std::string refused = whyNotReplaceable(m_replaced); !refused.empty()) {
        fail("cannot write", refused);
        return;
    }
    m_file = createUniqueFile(m_replaced, ".tmp", m_temporary);
    if (m_file == nullptr) {
        fail("cannot create a file beside", lastError().message());
    }
}

WholeFileWriter::~WholeFileWriter() {
    discard();
}

void WholeFileWriter::write(std::string_view bytes) {
    if (m_file != nullptr && m_failure.empty() &&
        std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        fail("cannot write", lastError().message());
    }
}

bool WholeFileWriter::commit() {
    if (m_file == nullptr || !m_failure.empty()) {
        discard();
        return false;
    }
    const bool synced = m_durability == Durability::Synced;
    if (std::fflush(m_file) != 0) {
        fail("cannot write", lastError().message());
    } else if (const auto error = synced ? syncToDisk(m_file) : std::error_code()) {
        fail("cannot write", error.message());
    }
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    if (closed != 0 && m_failure.empty()) {
        fail("cannot write", lastError().message());
    }
    if (m_failure.empty()) {
        if (const auto error = replaceFile(m_temporary, m_replaced, synced)) {
            fail("cannot replace", error.message());
        }
    }
    if (!m_failure.empty()) {
        discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void WholeFileWriter::fail(std::string_view what, std::string_view reason) {
    m_failure = std::string(what) + " " + textFromPath(m_target) + ": " + std::string(reason);
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
