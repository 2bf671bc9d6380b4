#include "logo/logo_staging.h"
#include "tests/support/temporary_folder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace quarvel::test {
namespace {

namespace fs = std::filesystem;

TEST(LogoStaging, APictureIsAFileEndingInGifInAnyCase) {
    const struct {
        const char* path;
        bool picture;
    } cases[] = {
        {"/p/logo.gif", true},  {"/p/LOGO.GIF", true},   {"logo.Gif", true}, {"/p/prog.a21", false},
        {"/p.gif/prog", false}, {"/p/logo.gifx", false}, {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isLogoPicture(c.path), c.picture) << c.path;
    }
}

// Points XDG_CACHE_HOME at a folder of the test's and puts the old value back afterwards.
class CacheHome {
public:
    explicit CacheHome(const fs::path& folder) {
        if (const char* old = std::getenv("XDG_CACHE_HOME")) {
            m_old = old;
        }
        ::setenv("XDG_CACHE_HOME", folder.c_str(), 1);
    }
    ~CacheHome() {
        if (m_old) {
            ::setenv("XDG_CACHE_HOME", m_old->c_str(), 1);
        } else {
            ::unsetenv("XDG_CACHE_HOME");
        }
    }
    CacheHome(const CacheHome&) = delete;
    CacheHome& operator=(const CacheHome&) = delete;

private:
    std::optional<std::string> m_old;
};

TEST(LogoStaging, OnlyAProgramThatIsNotInstalledWritesBesideItself) {
    const bool root = ::geteuid() == 0;
    const struct {
        const char* name;
        bool installed;
        fs::perms programFolder;
        bool besideProgram;
    } cases[] = {
        {"a build tree or a copied program", false, fs::perms::owner_all, true},
        // The data folder the install puts beside bin/ is there: as for root in /usr/bin.
        {"installed, though the user may write there", true, fs::perms::owner_all, false},
        {"a folder the user may not write", false, fs::perms::owner_read | fs::perms::owner_exec,
         root},
    };
    for (const auto& c : cases) {
        TemporaryFolder dir;
        const fs::path root = dir.file("prefix");
        fs::create_directories(root / "bin");
        if (c.installed) {
            fs::create_directories(root / "share" / "quarvel");
        }
        fs::permissions(root / "bin", c.programFolder);
        const CacheHome cache(dir.file("cache"));

        const fs::path expected =
            c.besideProgram ? root / "bin" : fs::path(dir.file("cache")) / "quarvel";
        EXPECT_EQ(stagedLogoPath(root / "bin" / "quarvel-cli"), expected / "Temp.s21") << c.name;
        EXPECT_TRUE(fs::is_directory(expected)) << c.name;
        fs::permissions(root / "bin", fs::perms::owner_all);
    }
}

TEST(LogoStaging, EachOwnLogoFileHasANameOfItsOwn) {
    TemporaryFolder dir;
    fs::create_directories(dir.file("bin"));
    const fs::path program = dir.file("bin/quarvel-cli");
    std::error_code error;
    const fs::path first = reserveOwnLogoFile(program, error);
    const fs::path second = reserveOwnLogoFile(program, error);
    EXPECT_FALSE(error) << error.message();
    EXPECT_NE(first, second);
    for (const auto& own : {first, second}) {
        EXPECT_EQ(own.parent_path(), dir.file("bin"));
        EXPECT_EQ(own.extension(), ".s21");
        EXPECT_TRUE(fs::exists(own)) << own;
    }
}

TEST(LogoStaging, AnOwnLogoFileThatCannotBeCreatedSaysWhy) {
    TemporaryFolder dir;
    // No folder beside a program that is not there; the cache's place is taken by a file.
    const fs::path cacheFile = dir.file("cache");
    std::FILE* taken = std::fopen(cacheFile.c_str(), "w");
    ASSERT_NE(taken, nullptr);
    std::fclose(taken);
    const CacheHome cache(cacheFile);

    std::error_code error;
    EXPECT_EQ(reserveOwnLogoFile(dir.file("gone/quarvel-cli"), error), fs::path());
    EXPECT_EQ(error, std::errc::not_a_directory) << error.message();
}

} // namespace
} // namespace quarvel::test
