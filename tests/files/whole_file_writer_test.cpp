#include "files/whole_file_writer.h"
#include "gif_stream_builder.h"
#include "tests/support/file_contents.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace quarvel::test {
namespace {

namespace fs = std::filesystem;

const Bytes kOld = {'o', 'l', 'd'};
const Bytes kNew = {'n', 'e', 'w'};

// The one file in the folder that is not the target: the writer's temporary file.
fs::path temporaryBeside(const fs::path& target) {
    for (const auto& entry : fs::directory_iterator(target.parent_path())) {
        if (entry.path() != target) {
            return entry.path();
        }
    }
    return {};
}

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
        {"a failed rename leaves the old one",
         [](const fs::path& target) { fs::remove(temporaryBeside(target)); }, true, false},
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
