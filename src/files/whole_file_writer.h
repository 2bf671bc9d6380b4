#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace quarvel {

// A file written whole before it takes the place of the file at its path. The bytes go to a
// uniquely named temporary file in the same folder, renamed over the target by commit() in one
// step; until then, and whenever anything fails, the old file stays exactly as it was and the
// temporary file is removed. Two writers of the same target never share a temporary file.
// The file is kept as its user keeps it: a symbolic link stays a link and the file it leads to
// is replaced, the old file's permissions carry over, and a read-only file is left untouched.
class WholeFileWriter {
public:
    // Synced: the bytes reach the disk before the replace, so a power cut leaves the old file or
    // the new one. Unsynced: for a file that is made again whenever it is needed.
    enum class Durability { Synced, Unsynced };

    WholeFileWriter(std::filesystem::path target, Durability durability);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // False when the target is read-only or the temporary file could not be created.
    bool isOpen() const { return m_file != nullptr; }
    // A failed write is remembered and makes commit() fail.
    void write(std::string_view bytes);
    // Puts the written bytes on disk and in the target's place; false when anything failed.
    bool commit();
    // Why opening or commit() failed, for a person: "cannot write <path>: <reason>".
    const std::string& failure() const { return m_failure; }

private:
    void fail(std::string_view what, std::string_view reason);
    void discard();

    std::filesystem::path m_target;
    Durability m_durability;
    // The file that the target's symbolic links lead to, or the target itself.
    std::filesystem::path m_replaced;
    std::filesystem::path m_temporary;
    std::FILE* m_file = nullptr;
    std::string m_failure;
};

} // namespace quarvel
