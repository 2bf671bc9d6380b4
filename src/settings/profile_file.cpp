#include "settings/profile_file.h"

#include "files/whole_file_writer.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <system_error>
#include <vector>

namespace quarvel {

namespace {

using Lines = std::vector<std::string>;

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// The name of a "[Section]" heading, or nothing for any other line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(line.substr(1, close - 1));
}

// The key of a "key=value" line; comments and lines without "=" have none.
std::optional<std::string_view> keyOf(std::string_view line) {
    const auto text = trimmed(line);
    const auto equals = text.find('=');
    if (text.empty() || text.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(text.substr(0, equals));
}

// Missing file: empty and true. A file that exists but cannot be read: false, so that a write
// never replaces settings it could not see.
bool readLines(const std::filesystem::path& path, Lines& lines) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return !error;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
    }
    return !in.bad();
}

// Index of the first line of the section's body, or lines.size() + 1 when there is no such section.
std::size_t sectionBody(const Lines& lines, std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines[i]);
        if (name && sameName(*name, section)) {
            return i + 1;
        }
    }
    return lines.size() + 1;
}

// Index of the key's line inside the body starting at `body`, or nothing.
std::optional<std::size_t> keyLine(const Lines& lines, std::size_t body, std::string_view key) {
    for (std::size_t i = body; i < lines.size() && !sectionOf(lines[i]); ++i) {
        const auto name = keyOf(lines[i]);
        if (name && sameName(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> findValue(const std::filesystem::path& path, std::string_view section,
                                     std::string_view key) {
    Lines lines;
    if (!readLines(path, lines)) {
        return std::nullopt;
    }
    const auto body = sectionBody(lines, section);
    const auto line = body <= lines.size() ? keyLine(lines, body, key) : std::nullopt;
    if (!line) {
        return std::nullopt;
    }
    const std::string_view text = lines[*line];
    auto value = trimmed(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, ProfileFile::maxStringLength));
}

bool replaceAtomically(const std::filesystem::path& path, const Lines& lines) {
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    WholeFileWriter file(path, WholeFileWriter::Durability::Synced);
    for (const auto& line : lines) {
        file.write(line);
        file.write("\n");
    }
    return file.commit();
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

int ProfileFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = findValue(m_path, section, key);
    if (!value) {
        return defaultValue;
    }
    std::string_view text = *value;
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (end == text.data()) {
        return 0;
    }
    // Saturate instead of wrapping, so a huge stored number stays out of every list's range.
    if (error == std::errc::result_out_of_range || number > std::numeric_limits<int>::max()) {
        return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -number : number);
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return findValue(m_path, section, key)
        .value_or(std::string(defaultValue.substr(0, maxStringLength)));
}

bool ProfileFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

bool ProfileFile::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value) ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos) {
        return false;
    }
    Lines lines;
    if (!readLines(m_path, lines)) {
        return false;
    }
    auto entry = std::string(key) + "=" + std::string(value);
    auto body = sectionBody(lines, section);
    if (body > lines.size()) {
        std::string heading(1, '[');
        heading.append(section).push_back(']');
        lines.push_back(std::move(heading));
        lines.push_back(std::move(entry));
    } else if (const auto line = keyLine(lines, body, key)) {
        lines[*line] = std::move(entry);
    } else {
        // After the section's last entry, so that blank lines before the next heading stay there.
        auto end = body;
        for (auto i = body; i < lines.size() && !sectionOf(lines[i]); ++i) {
            if (!trimmed(lines[i]).empty()) {
                end = i + 1;
            }
        }
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), std::move(entry));
    }
    return replaceAtomically(m_path, lines);
}

} // namespace quarvel
