#include "files/unique_file.h"

#include <cerrno>
#include <random>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace quarvel {

namespace {

constexpr int kNameAttempts = 100;
constexpr unsigned long long kNumbers = 1000000000;

// Opens for writing a file that does not exist yet; nullptr (errno EEXIST) when it does.
std::FILE* openNew(const std::filesystem::path& path) {
#ifdef _WIN32
    // The C library of MinGW programs knows no "x" mode.
    const int descriptor =
        ::_wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return descriptor < 0 ? nullptr : ::_fdopen(descriptor, "wb");
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

} // namespace

std::FILE* createUniqueFile(const std::filesystem::path& base, std::string_view suffix,
                            std::filesystem::path& created) {
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        created = base;
        created += "." + std::to_string(numbers() % kNumbers) + std::string(suffix);
        // A name another run holds is a failed attempt, never a shared file.
        if (std::FILE* file = openNew(created)) {
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
