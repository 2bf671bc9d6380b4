#include "ui/transfer_rules.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

struct IndexCase {
    const char* name;
    int index;
    int port;
    int channel;
};

TEST(TransferRulesTest, ListIndexesBecomePortAndChannel) {
    const IndexCase cases[] = {
        {"first entries: COM1 and all devices", 0, 1, 127},
        {"second entries: COM2 and channel 0", 1, 2, 0},
        {"last channel entry", 16, 17, 15},
        {"no selection passes on unchanged", -1, 0, -2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(portNumberOfIndex(c.index), c.port) << c.name;
        EXPECT_EQ(channelOfIndex(c.index), c.channel) << c.name;
    }
}

struct PathCase {
    const char* name;
    const char* path;
    const char* folder;
};

TEST(TransferRulesTest, FolderOfAPath) {
    const PathCase cases[] = {
        {"slashes", "/p/logo.gif", "/p/"},
        {"backslashes", "C:\\p\\Logo.Gif", "C:\\p\\"},
        {"full stop in a folder", "/p.gif/prog", "/p.gif/"},
        {"bare name", "logo.gif", nullptr},
        {"empty", "", nullptr},
    };
    for (const auto& c : cases) {
        const auto folder = folderOfPath(c.path);
        EXPECT_EQ(folder.has_value(), c.folder != nullptr) << c.name;
        if (folder && c.folder != nullptr) {
            EXPECT_EQ(*folder, c.folder) << c.name;
        }
    }
}

} // namespace
} // namespace quarvel
