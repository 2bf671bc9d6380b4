#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The named file's path in the folder, as the text a command line takes.
    std::string file(const std::string& name) const { return (m_path / name).string(); }
    // Writes bytes to the named file and answers its path as text.
    std::string write(const std::string& name, std::string_view bytes) const;
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        return write(name, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }
    // The names of the files in the folder, sorted.
    std::vector<std::string> fileNames() const;

private:
    std::filesystem::path m_path;
};

} // namespace quarvel::test
