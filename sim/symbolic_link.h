#pragma once

#include <optional>
#include <string>

namespace quarvel {

// A symbolic link made for as long as the object lives; removed again if it still points where
// it was made to.
class SymbolicLink {
public:
    // Replaces a stale link at path, but never a file or folder. Nothing, with the reason in
    // error, when the link cannot be made.
    static std::optional<SymbolicLink> create(const std::string& path, const std::string& target,
                                              std::string& error);

    SymbolicLink(SymbolicLink&& other) noexcept;
    SymbolicLink& operator=(SymbolicLink&&) = delete;
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;
    ~SymbolicLink();

private:
    SymbolicLink(std::string path, std::string target);

    std::string m_path;
    std::string m_target;
};

} // namespace quarvel
