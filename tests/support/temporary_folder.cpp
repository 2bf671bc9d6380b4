#include "tests/support/temporary_folder.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace quarvel::test {

TemporaryFolder::TemporaryFolder() {
    // A name nobody holds yet, made without mkdtemp, which Windows lacks.
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path =
            std::filesystem::temp_directory_path() / ("quarvel-test-" + std::to_string(numbers()));
        std::error_code error;
        if (std::filesystem::create_directory(m_path, error)) {
            return;
        }
    }
    ADD_FAILURE() << "cannot create a temporary folder";
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TemporaryFolder::write(const std::string& name, std::string_view bytes) const {
    const std::string path = file(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::string> TemporaryFolder::fileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace quarvel::test
