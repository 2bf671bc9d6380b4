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
    bool gif;
    const char* folder;
};

TEST(TransferRulesTest, ExtensionAndFolderOfAPath) {
    const PathCase cases[] = {
        {"lower-case picture", "/p/logo.gif", true, "/p/"},
        {"capital picture", "/p/LOGO.GIF", true, "/p/"},
        {"mixed case", "C:\\p\\Logo.Gif", true, "C:\\p\\"},
        {"program file", "/p/prog.a21", false, "/p/"},
        {"no full stop", "/p/prog", false, "/p/"},
        {"full stop only in a folder", "/p.gif/prog", false, "/p.gif/"},
        {"longer extension", "/p/logo.gifx", false, "/p/"},
        {"bare name", "logo.gif", true, nullptr},
        {"empty", "", false, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isGifPath(c.path), c.gif) << c.name;
        const auto folder = folderOfPath(c.path);
        EXPECT_EQ(folder.has_value(), c.folder != nullptr) << c.name;
        if (folder && c.folder != nullptr) {
            EXPECT_EQ(*folder, c.folder) << c.name;
        }
    }
}

} // namespace
} // namespace quarvel
