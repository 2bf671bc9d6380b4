#pragma once

#include <optional>
#include <string>

namespace quarvel {

// Converts the picture into the staged logo file (see logo/logo_staging.h) and answers that
// file's path; on failure says why on the error stream and answers nothing.
std::optional<std::string> stageLogo(const std::string& picture);

// The same into a logo file of the caller's own, which no other run writes; the caller removes
// it. A failed conversion leaves no file behind.
std::optional<std::string> stageOwnLogo(const std::string& picture);

} // namespace quarvel
