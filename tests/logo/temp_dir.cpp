#include "temp_dir.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

namespace quarvel::test {

TempDir::TempDir() {
    // A name nobody holds yet, made without mkdtemp, which Windows lacks.
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path =
            std::filesystem::temp_directory_path() / ("quarvel-logo-" + std::to_string(numbers()));
        std::error_code error;
        if (std::filesystem::create_directory(m_path, error)) {
            return;
        }
    }
    ADD_FAILURE() << "cannot create a temporary directory";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const {
    const std::string file = path(name);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::vector<std::string> TempDir::fileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace quarvel::test
