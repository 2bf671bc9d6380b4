#include "files/unique_file.h"

#include <cerrno>
#include <random>
#include <string>

namespace quarvel {

namespace {

constexpr int kNameAttempts = 100;
constexpr unsigned long long kNumbers = 1000000000;

} // namespace

std::FILE* createUniqueFile(const std::filesystem::path& base, std::string_view suffix,
                            std::filesystem::path& created) {
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        created = base;
        created += "." + std::to_string(numbers() % kNumbers) + std::string(suffix);
        // "x" opens only a file that does not exist yet: a name another run holds is a failed
        // attempt, never a shared file.
        if (std::FILE* file = std::fopen(created.string().c_str(), "wbx")) {
            return file;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    created.clear();
    return nullptr;
}

} // namespace quarvel
