#include "app/loader_app.h"
#include "job/load_job.h"
#include "tests/support/ktv_sim_process.h"
#include "tests/support/temporary_folder.h"
#include "ui/dialog_builder.h"
#include "ui/loader_dialog.h"
#include "ui/loading_dialog.h"
#include "ui_test_support.h"

#include <QListWidget>
#include <QPushButton>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using test::TemporaryFolder;

// The whole desktop program on a real line: the settings name ktv-sim's pseudo-terminal as COM2,
// the main dialog's Go runs the loading dialog, and the load goes through QSerialPort.
TEST(DesktopLoadTest, GoLoadsIntoKtvSimThroughThePortNamedInTheSettings) {
    TemporaryFolder folder;
    ::setenv("XDG_CONFIG_HOME", (folder.path() / "config").c_str(), 1);
    test::KtvSimProcess sim({});
    ASSERT_FALSE(sim.terminalPath().empty());
    std::filesystem::create_directories(folder.path() / "config");
    std::ofstream(folder.path() / "config" / "quarvel.INI")
        << "[Ports]\nCOM2=" << sim.terminalPath() << "\n[Last Values]\nComm Port=1\n"
        << "Midi Channel=0\nTransfer File=" << fixturePath("small_program.a21").string() << "\n";

    LoaderApp app(folder.path() / "quarvel", "");
    LoadJob job(app.serialOpener(), app.bootMode());
    auto dialog = app.makeMainDialog(job);
    QStringList lines;
    ModalHandler closer([&](QWidget& modal) {
        auto* loading = qobject_cast<LoadingDialog*>(&modal);
        if (loading == nullptr || !loading->finished()) {
            return false;
        }
        auto* list = controlOf<QListWidget>(*loading, MessageListId);
        for (int row = 0; row < list->count(); ++row) {
            lines << list->item(row)->text();
        }
        loading->accept();
        return true;
    });
    controlOf<QPushButton>(*dialog, GoButtonId)->click();
    ASSERT_TRUE(closer.handled());
    EXPECT_EQ(lines.value(1), "PC RS232 opened");
    EXPECT_TRUE(lines.contains("Found Device 271, expecting 271"));
    EXPECT_EQ(lines.last(), "Loading complete. No errors");
    EXPECT_FALSE(job.holdsResources());
}

} // namespace
} // namespace quarvel
