#include "files/path_text.h"

namespace quarvel {

// A POSIX file name is bytes: passed through as they are.
std::filesystem::path pathFromText(std::string_view text) {
    return std::filesystem::path(text);
}

std::string textFromPath(const std::filesystem::path& path) {
    return path.native();
}

} // namespace quarvel
