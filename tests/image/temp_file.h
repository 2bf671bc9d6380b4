#pragma once

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace quarvel::test {

// A file holding the given bytes for the length of one test, removed afterwards.
class TempFile {
public:
    explicit TempFile(std::string_view contents) {
        static int serial = 0;
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        // The process id keeps apart the same test run from two build trees at once.
        std::string name = "quarvel_" + std::to_string(::getpid()) + "_" + test->test_suite_name() +
                           "_" + test->name() + "_" + std::to_string(serial++) + ".a21";
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        m_path = std::filesystem::temp_directory_path() / name;
        std::ofstream out(m_path, std::ios::binary);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string path() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};

} // namespace quarvel::test
