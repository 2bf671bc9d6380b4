#pragma once

#include <optional>
#include <string>

namespace quarvel {

// The SHA-256 digest of a file's bytes in lower-case hexadecimal, as sha256sum prints it;
// nothing when the file cannot be read.
std::optional<std::string> fileSha256(const std::string& path);

} // namespace quarvel
