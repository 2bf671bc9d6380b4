#include "fuzz/fuzz_input_file.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace quarvel::fuzzing {

namespace {

// Memory-backed when the system offers it: the fuzzer writes a file for every input.
std::string temporaryFolder() {
    if (::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

} // namespace

FuzzInputFile::FuzzInputFile(const char* suffix)
    : m_path(temporaryFolder() + "/quarvel-fuzz-" + std::to_string(::getpid()) + suffix) {}

FuzzInputFile::~FuzzInputFile() {
    std::remove(m_path.c_str());
}

bool FuzzInputFile::write(std::span<const std::uint8_t> bytes) const {
    std::FILE* file = std::fopen(m_path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace quarvel::fuzzing
