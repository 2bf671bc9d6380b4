#include "settings/port_device.h"
#include "settings/settings_location.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace quarvel {
namespace {

struct LocationCase {
    const char* name;
    const char* xdgConfigHome;
    const char* home;
    const char* executable;
    const char* expected;
};

TEST(SettingsLocationTest, FileIsNamedAfterTheExecutableInTheConfigFolder) {
    const LocationCase cases[] = {
        {"xdg folder", "/xdg", "/home/op", "/usr/bin/quarvel", "/xdg/quarvel.INI"},
        {"home fallback", nullptr, "/home/op", "/usr/bin/quarvel", "/home/op/.config/quarvel.INI"},
        {"relative xdg ignored", "rel", "/home/op", "quarvel", "/home/op/.config/quarvel.INI"},
        {"renamed copy has its own file", "/xdg", "/home/op", "/opt/a/loader2", "/xdg/loader2.INI"},
        {"extension dropped", "/xdg", "/home/op", "/opt/QUARVEL.EXE", "/xdg/QUARVEL.INI"},
        {"same name elsewhere shares", "/xdg", "/home/op", "/tmp/x/quarvel", "/xdg/quarvel.INI"},
    };
    for (const auto& c : cases) {
        const test::ScopedEnvironment xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
        const test::ScopedEnvironment home("HOME", c.home);
        EXPECT_EQ(settingsFilePath(c.executable), c.expected) << c.name;
    }
}

TEST(SettingsLocationTest, WithoutHomeTheFileStaysInTheUsersHomeWhateverTheWorkingDirectory) {
    const test::ScopedEnvironment xdg("XDG_CONFIG_HOME", nullptr);
    const test::ScopedEnvironment home("HOME", nullptr);
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const auto path = settingsFilePath("/usr/bin/quarvel");
    EXPECT_EQ(path, std::filesystem::path(user->pw_dir) / ".config" / "quarvel.INI");
    const auto start = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    EXPECT_EQ(settingsFilePath("/usr/bin/quarvel"), path);
    std::filesystem::current_path(start);
}

struct PortCase {
    const char* name;
    int portNumber;
    const char* expected;
};

TEST(PortDeviceTest, PortsSectionNamesTheDeviceOfAPortNumber) {
    const test::TemporaryFolder folder;
    const auto path = folder.path() / "quarvel.INI";
    std::ofstream(path) << "[ports]\ncom1=/dev/ttyUSB0\nCOM0=/dev/ttyACM0\n[Last Values]\nCOM2=x\n";
    const ProfileFile settings(path);
    const PortCase cases[] = {
        {"named in the file, any case", 1, "/dev/ttyUSB0"},
        {"key of another section ignored", 2, "/dev/ttyS1"},
        {"missing key gives the serial port", 3, "/dev/ttyS2"},
        {"port 0 from an empty list opens nothing", 0, ""},
        {"negative opens nothing", -1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(portDeviceName(settings, c.portNumber), c.expected) << c.name;
    }
}

} // namespace
} // namespace quarvel
