#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace quarvel {

// A program file opened for reading, read in large blocks so that a scan costs no system call per
// byte. Line-end and end-of-file rules are applied by readRecordLine, not by the platform.
class ProgramFile {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    ProgramFile() = default;
    ~ProgramFile();
    ProgramFile(const ProgramFile&) = delete;
    ProgramFile& operator=(const ProgramFile&) = delete;

    // Opens an existing regular file read-only; never creates one. Closes any file held before.
    bool open(const std::string& path);
    bool isOpen() const { return m_file != nullptr; }
    void close();

    // Size in bytes, or -1 when no file is open.
    std::int64_t size() const { return m_size; }
    // Bytes consumed so far, which is where the next read starts.
    std::int64_t position() const;
    // Back to the first byte; forgets that the end of the file (or a 1Ah byte) was met.
    void rewind();

    // Bytes of the current block not yet consumed, refilled from the file when none are left.
    // Empty at the end of the file, after markEnd, and after a read error.
    std::span<const char> pending();
    // Consumes the first count bytes of what pending returned.
    void consume(std::size_t count);
    // The text ends here: pending stays empty until rewind.
    void markEnd() { m_ended = true; }
    // True once a read from the disk has failed since the file was opened; the text then ends
    // where the failure was met.
    bool readFailed() const { return m_readFailed; }

private:
    void resetBlock();

    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_block;
    std::size_t m_blockFill = 0;
    std::size_t m_blockNext = 0;
    std::int64_t m_blockStart = 0;
    std::int64_t m_size = -1;
    bool m_ended = false;
    bool m_readFailed = false;
};

} // namespace quarvel
