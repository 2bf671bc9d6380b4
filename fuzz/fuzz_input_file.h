#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quarvel::fuzzing {

// A file of this process's own that holds the current input, for code that reads by path. It is
// rewritten for every input and removed when the process ends normally.
class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* suffix);
    ~FuzzInputFile();
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's contents with bytes; false when the file could not be written.
    bool write(std::span<const std::uint8_t> bytes) const;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace quarvel::fuzzing
