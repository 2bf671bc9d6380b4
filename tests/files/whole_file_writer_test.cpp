#include "files/whole_file_writer.h"
#include "gif_stream_builder.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace quarvel::test {
namespace {

namespace fs = std::filesystem;

const Bytes kOld = {'o', 'l', 'd'};
const Bytes kNew = {'n', 'e', 'w'};

#ifndef _WIN32
// The one file in the folder that is not the target: the writer's temporary file.
fs::path temporaryBeside(const fs::path& target) {
    for (const auto& entry : fs::directory_iterator(target.parent_path())) {
        if (entry.path() != target) {
            return entry.path();
        }
    }
    return {};
}
#endif

TEST(WholeFileWriter, TheOldFileStaysUnlessTheNewOneIsWholeAndInPlace) {
    struct Case {
        const char* name;
        // Done between the write and the commit.
        std::function<void(const fs::path& target)> meanwhile;
        bool commit;
        bool committed;
    };
    const Case cases[] = {
        {"a committed file replaces the old one", {}, true, true},
        {"a writer given up leaves the old one", {}, false, false},
#ifndef _WIN32
        // Windows lets no open file be removed.
        {"a failed rename leaves the old one",
         [](const fs::path& target) { fs::remove(temporaryBeside(target)); }, true, false},
#endif
    };
    for (const auto& c : cases) {
        TemporaryFolder dir;
        const fs::path target = dir.write("out.bin", kOld);
        {
            WholeFileWriter writer(target, WholeFileWriter::Durability::Synced);
            ASSERT_TRUE(writer.isOpen()) << c.name << ": " << writer.failure();
            writer.write("new");
            if (c.meanwhile) {
                c.meanwhile(target);
            }
            if (c.commit) {
                EXPECT_EQ(writer.commit(), c.committed) << c.name;
            }
        }
        EXPECT_EQ(fileBytes(target), c.committed ? kNew : kOld) << c.name;
        EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"out.bin"})
            << c.name << ": no leftover";
    }
}

TEST(WholeFileWriter, KeepsTheFileAsItsUserKeepsIt) {
    struct Case {
        const char* name;
        // Makes the old file and answers the path that the writer is given.
        std::function<fs::path(const TemporaryFolder& dir)> prepare;
        bool replaced;
        // What must hold of the writer's path afterwards.
        std::function<void(const fs::path& target)> check;
    };
    const Case cases[] = {
#ifndef _WIN32
        {"through a symbolic link the file it leads to is replaced",
         [](const TemporaryFolder& dir) {
             fs::create_directory(dir.file("kept"));
             dir.write("kept/settings", kOld);
             fs::create_symlink("kept/settings", dir.file("link"));
             return fs::path(dir.file("link"));
         },
         true,
         [](const fs::path& target) {
             EXPECT_TRUE(fs::is_symlink(fs::symlink_status(target)));
             EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path() / "kept"),
                                     fs::directory_iterator()),
                       1)
                 << "no leftover beside the file";
         }},
        {"the old file's permissions carry over",
         [](const TemporaryFolder& dir) {
             const fs::path target = dir.write("settings", kOld);
             fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write |
                                         fs::perms::group_read);
             return target;
         },
         true,
         [](const fs::path& target) {
             EXPECT_EQ(fs::status(target).permissions(),
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         }},
#endif
        {"a read-only file is left as it was",
         [](const TemporaryFolder& dir) {
             const fs::path target = dir.write("settings", kOld);
             fs::permissions(
                 target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                 fs::perm_options::remove);
             return target;
         },
         false, [](const fs::path&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder dir;
        const fs::path target = c.prepare(dir);
        {
            WholeFileWriter writer(target, WholeFileWriter::Durability::Synced);
            writer.write("new");
            EXPECT_EQ(writer.commit(), c.replaced) << writer.failure();
            if (!c.replaced) {
                EXPECT_EQ(writer.failure(),
                          "cannot write " + target.string() + ": the file is read-only");
            }
        }
        EXPECT_EQ(fileBytes(target), c.replaced ? kNew : kOld);
        c.check(target);
        // Removable again, so that the folder goes with the test.
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST(WholeFileWriter, TwoWritersAtOnceHaveTheirOwnTemporaryFiles) {
    TemporaryFolder dir;
    const fs::path target = dir.file("out.bin");
    WholeFileWriter first(target, WholeFileWriter::Durability::Unsynced);
    WholeFileWriter second(target, WholeFileWriter::Durability::Unsynced);
    first.write("first");
    second.write("second");
    EXPECT_EQ(dir.fileNames().size(), 2U);
    EXPECT_TRUE(first.commit());
    EXPECT_TRUE(second.commit());
    EXPECT_EQ(fileBytes(target), (Bytes{'s', 'e', 'c', 'o', 'n', 'd'}));
    EXPECT_EQ(dir.fileNames(), std::vector<std::string>{"out.bin"});
}

TEST(WholeFileWriter, AFolderThatIsNotThereFailsAndSaysWhy) {
    TemporaryFolder dir;
    WholeFileWriter writer(dir.file("missing/out.bin"), WholeFileWriter::Durability::Synced);
    EXPECT_FALSE(writer.isOpen());
    EXPECT_FALSE(writer.commit());
    EXPECT_NE(writer.failure().find("cannot create a file beside " + dir.file("missing/out.bin")),
              std::string::npos)
        << writer.failure();
}

} // namespace
} // namespace quarvel::test
