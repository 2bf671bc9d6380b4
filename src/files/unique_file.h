#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace quarvel {

// Creates and opens for writing a file that did not exist before, named base + "." + a random
// number + suffix, and tells its path through `created`. Answers nullptr (errno says why) when
// no such file can be created.
std::FILE* createUniqueFile(const std::filesystem::path& base, std::string_view suffix,
                            std::filesystem::path& created);

} // namespace quarvel
