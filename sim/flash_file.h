#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace quarvel {

// Writes bytes to path through a temporary file in the same folder that is renamed over path
// only once it is complete, so path never holds half an image. Answers the reason on failure.
std::string writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace quarvel
