#pragma once

#include "gif_stream_builder.h"

#include <filesystem>
#include <string>

namespace quarvel::test {

// A fresh directory for one test, removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (m_path / name).string(); }
    // Writes bytes to the named file and answers its path.
    std::string write(const std::string& name, const Bytes& bytes) const;
    // The names of the files in the directory, sorted.
    std::vector<std::string> fileNames() const;

private:
    std::filesystem::path m_path;
};

Bytes readFileBytes(const std::string& path);

} // namespace quarvel::test
