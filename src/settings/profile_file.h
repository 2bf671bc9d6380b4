#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quarvel {

// An initialisation file read and written the way the Windows private-profile functions do:
// "[Section]" headings and "key=value" lines, names compared without regard to case, a missing
// file or key giving the default, and every other line kept when a value is written.
class ProfileFile {
public:
    // The longest text readString returns, as the 4096-character buffer of the original reader.
    static constexpr std::size_t maxStringLength = 4095;

    explicit ProfileFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return m_path; }

    // A decimal number with an optional sign; text that is not a number reads as 0.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;
    // At most maxStringLength characters; surrounding blanks and one pair of quotes are dropped.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Both write through a temporary file and a rename, so a crash leaves the old file whole.
    // False when the file cannot be written or the value holds a line break.
    bool writeInt(std::string_view section, std::string_view key, int value);
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path m_path;
};

} // namespace quarvel
