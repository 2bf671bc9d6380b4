#include "app/app_paths.h"
#include "app/loader_app.h"
#include "job/load_job.h"
#include "tests/support/file_contents.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/temporary_folder.h"
#include "ui/dialog_builder.h"
#include "ui/loader_dialog.h"
#include "ui/loading_dialog.h"
#include "ui_test_support.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

// A private configuration and cache folder for each test.
class LoaderAppTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_root / "bin");
        ::setenv("XDG_CONFIG_HOME", (m_root / "config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (m_root / "cache").c_str(), 1);
    }

    std::string settingsText() const { return test::fileText(m_root / "config" / "quarvel.INI"); }

    test::TemporaryFolder m_folder;
    const fs::path m_root = m_folder.path();
    LoadJob m_job{[](const SerialSettings&) { return std::unique_ptr<ByteChannel>(); }, false};
};

TEST_F(LoaderAppTest, FirstRunShowsDefaultsAndCreatesTheSettingsAtClose) {
    LoaderApp app(m_root / "bin" / "quarvel", "");
    auto dialog = app.makeMainDialog(m_job);
    EXPECT_EQ(controlOf<QLineEdit>(*dialog, FilePathBoxId)->text(), "");
    EXPECT_EQ(controlOf<QComboBox>(*dialog, PortListId)->currentText(), "1");
    EXPECT_EQ(controlOf<QComboBox>(*dialog, ChannelListId)->currentText(), "All");
    EXPECT_FALSE(fs::exists(m_root / "config" / "quarvel.INI"));
    dialog->reject();
    EXPECT_EQ(settingsText(), "[Last Values]\nComm Port=0\nMidi Channel=0\nTransfer File=\n");
}

TEST_F(LoaderAppTest, LastValuesComeBackAndOtherEntriesStay) {
    fs::create_directories(m_root / "config");
    std::ofstream(m_root / "config" / "quarvel.INI")
        << "[Ports]\nCOM1=/dev/ttyUSB0\n[last values]\ncomm port=1\nmidi channel=16\n"
           "transfer file=/data/prog.a21\n";
    LoaderApp app(m_root / "bin" / "quarvel", "");
    auto dialog = app.makeMainDialog(m_job);
    EXPECT_EQ(controlOf<QLineEdit>(*dialog, FilePathBoxId)->text(), "/data/prog.a21");
    EXPECT_EQ(controlOf<QComboBox>(*dialog, PortListId)->currentText(), "2");
    EXPECT_EQ(controlOf<QComboBox>(*dialog, ChannelListId)->currentText(), "16");
    controlOf<QComboBox>(*dialog, ChannelListId)->setCurrentIndex(0);
    dialog->accept();
    EXPECT_EQ(settingsText(), "[Ports]\nCOM1=/dev/ttyUSB0\n[last values]\nComm Port=1\n"
                              "Midi Channel=0\nTransfer File=/data/prog.a21\n");
}

TEST_F(LoaderAppTest, RenamedCopyKeepsItsOwnSettings) {
    LoaderApp original(m_root / "bin" / "quarvel", "");
    LoaderApp copy(m_root / "bin" / "loader-b", "");
    auto dialog = copy.makeMainDialog(m_job);
    controlOf<QLineEdit>(*dialog, FilePathBoxId)->setText("/b.a21");
    dialog->reject();
    EXPECT_TRUE(fs::exists(m_root / "config" / "loader-b.INI"));
    EXPECT_FALSE(fs::exists(m_root / "config" / "quarvel.INI"));
    EXPECT_EQ(original.makeMainDialog(m_job)->findChild<QLineEdit*>()->text(), "");
}

TEST_F(LoaderAppTest, LinkUnderAnotherNameKeepsItsOwnSettings) {
    std::ofstream(m_root / "bin" / "quarvel") << "program";
    fs::create_symlink(m_root / "bin" / "quarvel", m_root / "loader-b");
    // The executable's own path comes with its links resolved.
    LoaderApp linked(fs::canonical(m_root / "loader-b"), "", m_root / "loader-b");
    auto dialog = linked.makeMainDialog(m_job);
    controlOf<QLineEdit>(*dialog, FilePathBoxId)->setText("/b.a21");
    dialog->reject();
    EXPECT_TRUE(fs::exists(m_root / "config" / "loader-b.INI"));
    EXPECT_FALSE(fs::exists(m_root / "config" / "quarvel.INI"));
}

// HOME unset and TMPDIR naming a folder that is not there: Go with a picture still converts it.
TEST_F(LoaderAppTest, OddEnvironmentStillConvertsAPicture) {
    const test::ScopedEnvironment home("HOME", nullptr);
    const test::ScopedEnvironment temporary("TMPDIR", (m_root / "missing").c_str());
    fs::copy_file(fixturePath("logo.gif"), m_root / "logo.gif");
    LoaderApp app(m_root / "bin" / "quarvel", "");
    auto dialog = app.makeMainDialog(m_job);
    controlOf<QLineEdit>(*dialog, FilePathBoxId)
        ->setText(QString::fromStdString((m_root / "logo.gif").string()));
    ModalHandler closer([](QWidget& modal) {
        auto* loading = qobject_cast<LoadingDialog*>(&modal);
        if (loading == nullptr || !loading->finished()) {
            return false;
        }
        loading->accept();
        return true;
    });
    controlOf<QPushButton>(*dialog, GoButtonId)->click();
    EXPECT_TRUE(closer.handled()) << "the load started";
    std::ifstream converted(m_root / "bin" / "Temp.s21");
    int lines = 0;
    for (std::string line; std::getline(converted, line);) {
        ++lines;
    }
    EXPECT_EQ(lines, 116);
}

TEST_F(LoaderAppTest, PortZeroOpensNoLine) {
    const auto opener = LoaderApp(m_root / "bin" / "quarvel", "").serialOpener();
    SerialSettings settings;
    settings.portNumber = 0;
    EXPECT_EQ(opener(settings), nullptr);
}

struct HelpCase {
    const char* name;
    bool besideProgram;
    bool installed;
    const char* expected;
};

TEST_F(LoaderAppTest, HelpPageIsFoundBesideTheProgramOrInstalled) {
    const HelpCase cases[] = {
        {"beside the program wins", true, true, "bin/quarvel.html"},
        {"installed page", false, true, "share/quarvel.html"},
        {"missing everywhere names the program's", false, false, "bin/quarvel.html"},
    };
    for (const auto& c : cases) {
        fs::remove_all(m_root / "share");
        fs::remove(m_root / "bin" / "quarvel.html");
        fs::create_directories(m_root / "share");
        if (c.besideProgram) {
            std::ofstream(m_root / "bin" / "quarvel.html") << "<html></html>";
        }
        if (c.installed) {
            std::ofstream(m_root / "share" / "quarvel.html") << "<html></html>";
        }
        EXPECT_EQ(helpFilePath(m_root / "bin" / "quarvel.exe", m_root / "share"),
                  m_root / c.expected)
            << c.name;
    }
}

} // namespace
} // namespace quarvel
