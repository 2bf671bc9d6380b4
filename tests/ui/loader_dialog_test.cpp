#include "job/load_job.h"
#include "sim/device_model.h"
#include "sim/sim_link.h"
#include "tests/support/temporary_folder.h"
#include "ui/dialog_builder.h"
#include "ui/loader_dialog.h"
#include "ui/loading_dialog.h"
#include "ui_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using test::TemporaryFolder;

const std::string smallProgram = fixturePath("small_program.a21").string();

// Passes everything through to the device's link, keeping the bytes the loader wrote.
class RecordingChannel : public ByteChannel {
public:
    RecordingChannel(std::unique_ptr<ByteChannel> line, std::vector<std::uint8_t>& wire)
        : m_line(std::move(line)), m_wire(wire) {}

    bool write(std::span<const std::uint8_t> bytes) override {
        m_wire.insert(m_wire.end(), bytes.begin(), bytes.end());
        return m_line->write(bytes);
    }
    int readByte() override { return m_line->readByte(); }
    void discardPending() override { m_line->discardPending(); }
    std::int64_t nowMs() const override { return m_line->nowMs(); }

private:
    std::unique_ptr<ByteChannel> m_line;
    std::vector<std::uint8_t>& m_wire;
};

// The main dialog against an in-process device, with the program's services replaced by
// recorders.
struct Bench {
    explicit Bench(LastValues stored) : stored(std::move(stored)) {}

    std::unique_ptr<LoaderDialog> dialog() {
        LoaderServices services{
            [this] { return stored; },
            [this](const LastValues& values) { written = values; },
            [this] { return logoFolder.path() / "Temp.s21"; },
            [this] {
                ++helpAsked;
                return helpOpens;
            },
        };
        return std::make_unique<LoaderDialog>(job, std::move(services));
    }

    // Presses Go, lets the load run and closes the loading dialog; its messages, or nothing
    // when no loading dialog opened.
    std::optional<QStringList> go(LoaderDialog& loader) {
        std::optional<QStringList> lines;
        ModalHandler closer([&](QWidget& modal) {
            auto* loading = qobject_cast<LoadingDialog*>(&modal);
            if (loading == nullptr || !loading->finished()) {
                return false;
            }
            auto* list = controlOf<QListWidget>(*loading, MessageListId);
            lines.emplace();
            for (int row = 0; row < list->count(); ++row) {
                *lines << list->item(row)->text();
            }
            loading->accept();
            return true;
        });
        controlOf<QPushButton>(loader, GoButtonId)->click();
        return lines;
    }

    LastValues stored;
    std::optional<LastValues> written;
    bool helpOpens = true;
    int helpAsked = 0;
    TemporaryFolder logoFolder;
    DeviceModel device;
    SimLink link{device};
    std::vector<int> openedPorts;
    std::vector<std::uint8_t> wire;
    LoadJob job{[this](const SerialSettings& settings) -> std::unique_ptr<ByteChannel> {
                    openedPorts.push_back(settings.portNumber);
                    return std::make_unique<RecordingChannel>(link.opener()(settings), wire);
                },
                false};
};

QComboBox& portList(const LoaderDialog& d) {
    return *controlOf<QComboBox>(d, PortListId);
}
QComboBox& channelList(const LoaderDialog& d) {
    return *controlOf<QComboBox>(d, ChannelListId);
}
QLineEdit& pathBox(const LoaderDialog& d) {
    return *controlOf<QLineEdit>(d, FilePathBoxId);
}

QStringList itemsOf(const QComboBox& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.itemText(i);
    }
    return items;
}

TEST(LoaderDialogTest, FollowsTemplate102) {
    Bench bench({});
    auto dialog = bench.dialog();
    EXPECT_EQ(dialog->windowTitle(), "KTV-271 Vantor RS232 Program Loader V1.20");
    EXPECT_EQ(dialog->font().family(), "Arial");
    EXPECT_EQ(dialog->font().pointSize(), 8);
    const auto base = dialogBaseUnits(dialog->font());
    EXPECT_EQ(dialog->size(), toPixels({0, 0, 259, 143}, base).size());

    struct Control {
        int id;
        DialogRect units;
        const char* caption;
    };
    const Control controls[] = {
        {FilePathBoxId, {70, 21, 125, 12}, ""},   {BrowseButtonId, {200, 20, 40, 15}, "Browse..."},
        {PortListId, {70, 47, 50, 86}, ""},       {ChannelListId, {190, 47, 50, 60}, ""},
        {GoButtonId, {93, 90, 69, 13}, "Go"},     {HelpButtonId, {75, 120, 50, 14}, "Help"},
        {OkButtonId, {130, 120, 50, 14}, "Exit"},
    };
    std::vector<int> focusOrder;
    for (const auto& c : controls) {
        QWidget* control = findControl(*dialog, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        const QRect expected = toPixels(c.units, base);
        EXPECT_EQ(control->pos(), expected.topLeft()) << c.id;
        EXPECT_EQ(control->width(), expected.width()) << c.id;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_EQ(button->text(), c.caption) << c.id;
            EXPECT_EQ(button->isDefault(), c.id == OkButtonId) << c.id;
        }
        focusOrder.push_back(c.id);
    }
    for (std::size_t i = 0; i + 1 < focusOrder.size(); ++i) {
        EXPECT_EQ(nextTabStop(*dialog, *findControl(*dialog, focusOrder[i])),
                  findControl(*dialog, focusOrder[i + 1]))
            << "tab from " << focusOrder[i];
    }
    EXPECT_EQ(itemsOf(portList(*dialog)), (QStringList{"1", "2"}));
    EXPECT_EQ(itemsOf(channelList(*dialog)),
              (QStringList{"All", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
                           "13", "14", "15", "16"}));
    QStringList captions;
    for (auto* label : dialog->findChildren<QLabel*>()) {
        captions << label->text();
    }
    for (auto* group : dialog->findChildren<QGroupBox*>()) {
        captions << group->title();
    }
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"From Comm Port :", "Setup Transfer",
                                     "To Midi Channel :", "Transfer", "Transfer File :"}));
}

struct OpeningCase {
    const char* name;
    LastValues stored;
    int portSelection;
    int channelSelection;
};

TEST(LoaderDialogTest, OpensWithTheStoredValues) {
    const OpeningCase cases[] = {
        {"first run", {0, 0, ""}, 0, 0},
        {"last port and channel", {1, 16, "/x/y.a21"}, 1, 16},
        {"port beyond the list", {5, 3, ""}, -1, 3},
        {"channel beyond the list", {0, 17, ""}, 0, -1},
        {"negative index", {-1, -7, ""}, -1, -1},
    };
    for (const auto& c : cases) {
        Bench bench(c.stored);
        auto dialog = bench.dialog();
        EXPECT_EQ(pathBox(*dialog).text().toStdString(), c.stored.filePath) << c.name;
        EXPECT_EQ(portList(*dialog).currentIndex(), c.portSelection) << c.name;
        EXPECT_EQ(channelList(*dialog).currentIndex(), c.channelSelection) << c.name;
    }
}

struct GoCase {
    const char* name;
    int portIndex;
    int channelIndex;
    int expectedPort;
    std::uint8_t expectedChannelByte;
};

TEST(LoaderDialogTest, GoMapsTheListsToPortAndChannel) {
    const GoCase cases[] = {
        {"All sends 127", 0, 0, 1, 0x7F},
        {"channel 1 sends 0", 0, 1, 1, 0x00},
        {"channel 16 sends 15", 0, 16, 1, 0x0F},
        {"port 2 opens COM2", 1, 3, 2, 0x02},
        {"port list without a selection asks for port 0", 5, 0, 0, 0x7F},
    };
    for (const auto& c : cases) {
        Bench bench({c.portIndex, c.channelIndex, smallProgram});
        auto dialog = bench.dialog();
        const auto lines = bench.go(*dialog);
        ASSERT_TRUE(lines.has_value()) << c.name;
        EXPECT_EQ(lines->last(), "Loading complete. No errors") << c.name;
        ASSERT_EQ(bench.openedPorts, std::vector<int>{c.expectedPort}) << c.name;
        ASSERT_GE(bench.wire.size(), 5u) << c.name;
        EXPECT_EQ(bench.wire[0], 0xF0) << c.name;
        EXPECT_EQ(bench.wire[4], c.expectedChannelByte) << c.name;
    }
}

TEST(LoaderDialogTest, ChannelListWithoutASelectionStartsNoLoad) {
    Bench bench({0, 40, smallProgram});
    auto dialog = bench.dialog();
    QString text;
    ModalHandler answer([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box == nullptr) {
            return false;
        }
        text = box->text();
        box->accept();
        return true;
    });
    EXPECT_FALSE(bench.go(*dialog).has_value());
    EXPECT_TRUE(answer.handled());
    EXPECT_EQ(text, "Choose the MIDI channel of the device.");
    EXPECT_TRUE(bench.openedPorts.empty());
    EXPECT_TRUE(bench.wire.empty());
}

TEST(LoaderDialogTest, GifInCapitalsIsConvertedAndTheConvertedFileLoaded) {
    TemporaryFolder pictures;
    const auto picture = pictures.path() / "LOGO.GIF";
    fs::copy_file(fixturePath("logo.gif"), picture);
    Bench bench({0, 0, picture.string()});
    auto dialog = bench.dialog();
    const auto lines = bench.go(*dialog);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->last(), "Loading complete. No errors");
    EXPECT_EQ(bench.device.loadsCompleted(), 1);

    std::ifstream converted(bench.logoFolder.path() / "Temp.s21");
    int count = 0;
    for (std::string line; std::getline(converted, line);) {
        ++count;
    }
    EXPECT_EQ(count, 116);
    EXPECT_EQ(pathBox(*dialog).text().toStdString(), picture.string()) << "the box keeps the GIF";
}

// Assistive technology can press the main dialog's buttons behind the modal loading dialog, and
// its requests are served while a step waits: none of them may act until the load has ended.
TEST(LoaderDialogTest, ButtonsPressedWhileALoadRunsDoNothing) {
    struct Case {
        const char* name;
        ControlId button;
    };
    for (const Case& c : {Case{"Go", GoButtonId}, Case{"Browse", BrowseButtonId},
                          Case{"Help", HelpButtonId}, Case{"Exit", OkButtonId}}) {
        SCOPED_TRACE(c.name);
        Bench bench({0, 0, smallProgram});
        auto dialog = bench.dialog();
        QWidget* first = nullptr;
        int others = 0;
        bool pressedAgain = false;
        bool loadingEnabled = false;
        auto* button = controlOf<QPushButton>(*dialog, c.button);
        ModalHandler handler([&](QWidget& modal) {
            first = first != nullptr ? first : &modal;
            auto* loading = qobject_cast<LoadingDialog*>(&modal);
            if (&modal != first || loading == nullptr) {
                ++others;
                modal.close();
            } else if (!pressedAgain) {
                pressedAgain = true;
                loadingEnabled = loading->isEnabled();
                QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                    QAccessibleActionInterface::pressAction());
            } else if (loading->finished() && !button->isDown()) {
                // A press shows the button down for a moment before it clicks.
                loading->accept();
                return true;
            }
            return false;
        });
        controlOf<QPushButton>(*dialog, GoButtonId)->click();
        ASSERT_TRUE(handler.handled());
        EXPECT_TRUE(loadingEnabled);
        EXPECT_EQ(others, 0);
        EXPECT_EQ(bench.helpAsked, 0);
        EXPECT_FALSE(bench.written) << "the dialog was closed";
        EXPECT_TRUE(dialog->isEnabled());
        EXPECT_EQ(bench.openedPorts.size(), 1u);
        EXPECT_EQ(bench.device.loadsCompleted(), 1);
    }
}

TEST(LoaderDialogTest, PictureThatCannotBeConvertedEndsGoSilently) {
    TemporaryFolder pictures;
    const auto picture = pictures.path() / "broken.gif";
    std::ofstream(picture) << "not a picture";
    Bench bench({0, 0, picture.string()});
    auto dialog = bench.dialog();
    EXPECT_FALSE(bench.go(*dialog).has_value());
    EXPECT_TRUE(bench.openedPorts.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(LoaderDialogTest, FullStopInAFolderNameSendsAProgramFile) {
    TemporaryFolder folder;
    fs::create_directories(folder.path() / "pictures.gif");
    const auto program = folder.path() / "pictures.gif" / "program";
    fs::copy_file(smallProgram, program);
    Bench bench({0, 0, program.string()});
    auto dialog = bench.dialog();
    const auto lines = bench.go(*dialog);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->last(), "Loading complete. No errors");
    EXPECT_FALSE(fs::exists(bench.logoFolder.path() / "Temp.s21"));
}

struct CloseCase {
    const char* name;
    std::function<void(LoaderDialog&)> close;
};

TEST(LoaderDialogTest, ValuesInTheControlsAreWrittenOnEveryClose) {
    const CloseCase cases[] = {
        {"Exit", [](LoaderDialog& d) { controlOf<QPushButton>(d, OkButtonId)->click(); }},
        {"Esc", [](LoaderDialog& d) { d.reject(); }},
        {"close box", [](LoaderDialog& d) { d.close(); }},
        {"Enter in the file path box",
         [](LoaderDialog& d) {
             QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(&pathBox(d), &enter);
         }},
    };
    for (const auto& c : cases) {
        Bench bench({0, 0, "/old/file.a21"});
        auto dialog = bench.dialog();
        dialog->show();
        pathBox(*dialog).setText("/typed/but/never/sent.a21");
        portList(*dialog).setCurrentIndex(1);
        channelList(*dialog).setCurrentIndex(5);
        c.close(*dialog);
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        ASSERT_TRUE(bench.written.has_value()) << c.name;
        EXPECT_EQ(bench.written->filePath, "/typed/but/never/sent.a21") << c.name;
        EXPECT_EQ(bench.written->portIndex, 1) << c.name;
        EXPECT_EQ(bench.written->channelIndex, 5) << c.name;
    }
}

TEST(LoaderDialogTest, ListWithoutASelectionIsWrittenAsMinusOne) {
    Bench bench({9, 99, ""});
    auto dialog = bench.dialog();
    dialog->reject();
    ASSERT_TRUE(bench.written.has_value());
    EXPECT_EQ(bench.written->portIndex, -1);
    EXPECT_EQ(bench.written->channelIndex, -1);
}

struct HelpCase {
    const char* name;
    bool viewerStarts;
    bool messageShown;
};

TEST(LoaderDialogTest, HelpReportsAViewerThatCannotStart) {
    const HelpCase cases[] = {
        {"viewer starts", true, false},
        {"no viewer", false, true},
    };
    for (const auto& c : cases) {
        Bench bench({});
        bench.helpOpens = c.viewerStarts;
        auto dialog = bench.dialog();
        QString title;
        QString text;
        ModalHandler answer([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (box == nullptr) {
                return false;
            }
            title = box->windowTitle();
            text = box->text();
            box->accept();
            return true;
        });
        controlOf<QPushButton>(*dialog, HelpButtonId)->click();
        EXPECT_EQ(answer.handled(), c.messageShown) << c.name;
        if (c.messageShown) {
            EXPECT_EQ(title, "quarvel Windows Application");
            EXPECT_EQ(text, "Failed to launch help.");
        }
    }
}

struct BrowseCase {
    const char* name;
    bool pathInFolder;
    bool choose;
};

TEST(LoaderDialogTest, BrowseStartsInTheCurrentFilesFolder) {
    const BrowseCase cases[] = {
        {"chosen file replaces the path", true, true},
        {"cancel keeps the path", true, false},
        {"empty path leaves the working directory", false, true},
    };
    const QString startFolder = QDir::currentPath();
    for (const auto& c : cases) {
        TemporaryFolder folder;
        TemporaryFolder elsewhere;
        QDir::setCurrent(QString::fromStdString(elsewhere.path().string()));
        const auto current = folder.path() / "current.a21";
        const auto chosen = folder.path() / "chosen.a21";
        fs::copy_file(smallProgram, chosen);
        const std::string startPath = c.pathInFolder ? current.string() : "";
        Bench bench({0, 0, startPath});
        auto dialog = bench.dialog();

        QString shownFolder;
        ModalHandler chooser([&](QWidget& modal) {
            auto* files = qobject_cast<QFileDialog*>(&modal);
            if (files == nullptr) {
                return false;
            }
            shownFolder = files->directory().absolutePath();
            EXPECT_EQ(files->nameFilters(), (QStringList{"A21 Files (*.a21)", "All Files (*.*)"}));
            EXPECT_EQ(files->selectedNameFilter(), "A21 Files (*.a21)");
            EXPECT_EQ(files->defaultSuffix(), "a21");
            if (c.choose) {
                files->selectFile(QString::fromStdString(chosen.string()));
                static_cast<QDialog*>(files)->accept();
            } else {
                files->reject();
            }
            return true;
        });
        controlOf<QPushButton>(*dialog, BrowseButtonId)->click();
        ASSERT_TRUE(chooser.handled()) << c.name;
        const auto expectedFolder = c.pathInFolder ? folder.path() : elsewhere.path();
        EXPECT_EQ(fs::path(shownFolder.toStdString()), expectedFolder) << c.name;
        EXPECT_EQ(fs::path(QDir::currentPath().toStdString()), expectedFolder) << c.name;
        const std::string expectedPath = c.choose ? chosen.string() : startPath;
        EXPECT_EQ(pathBox(*dialog).text().toStdString(), expectedPath) << c.name;
        QDir::setCurrent(startFolder);
    }
}

// Runs Browse, lets chooser act on the file dialog, and answers the path box's text after.
std::string browseWith(const std::string& startPath,
                       const std::function<void(QFileDialog&)>& chooser) {
    Bench bench({0, 0, startPath});
    auto dialog = bench.dialog();
    ModalHandler handler([&](QWidget& modal) {
        auto* files = qobject_cast<QFileDialog*>(&modal);
        if (files != nullptr) {
            chooser(*files);
        }
        return files != nullptr;
    });
    controlOf<QPushButton>(*dialog, BrowseButtonId)->click();
    EXPECT_TRUE(handler.handled());
    return pathBox(*dialog).text().toStdString();
}

TEST(LoaderDialogTest, BrowseAllFilesShowsNamesWithoutAFullStop) {
    TemporaryFolder folder;
    std::ofstream(folder.path() / "README") << "notes";
    std::ofstream(folder.path() / "program.a21") << "S9030000FC\n";
    bool shownUnderA21 = true;
    bool shownUnderAllFiles = false;
    browseWith((folder.path() / "program.a21").string(), [&](QFileDialog& files) {
        auto* model = files.findChild<QFileSystemModel*>();
        auto* filters = files.findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(model, nullptr);
        ASSERT_NE(filters, nullptr);
        const auto shown = [&](const char* name) {
            return model->index(QString::fromStdString((folder.path() / name).string())).isValid();
        };
        ASSERT_TRUE(waitUntil([&] { return shown("program.a21"); }));
        shownUnderA21 = shown("README");
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(filters, &down);
        EXPECT_EQ(files.selectedNameFilter(), "All Files (*.*)");
        shownUnderAllFiles = waitUntil([&] { return shown("README"); });
        files.reject();
    });
    EXPECT_FALSE(shownUnderA21);
    EXPECT_TRUE(shownUnderAllFiles);
}

struct TypedCase {
    const char* name;
    std::vector<const char*> files;
    const char* typed;
    const char* chosen;
};

TEST(LoaderDialogTest, BrowseTakesATypedNameAsTypedWhenItExists) {
    const TypedCase cases[] = {
        {"existing name without a full stop", {"notes", "notes.a21"}, "notes", "notes"},
        {"default extension for a name that is not there",
         {"program.a21"},
         "program",
         "program.a21"},
        {"existing name with another extension", {"logo.gif"}, "logo.gif", "logo.gif"},
    };
    for (const auto& c : cases) {
        TemporaryFolder folder;
        for (const char* file : c.files) {
            std::ofstream(folder.path() / file) << "x";
        }
        const auto chosen =
            browseWith((folder.path() / "start.a21").string(), [&](QFileDialog& files) {
                // Typed as an operator types: into the focused name box.
                auto* nameBox = files.findChild<QLineEdit*>("fileNameEdit");
                ASSERT_NE(nameBox, nullptr);
                files.activateWindow();
                nameBox->setFocus();
                ASSERT_TRUE(waitUntil([&] { return nameBox->hasFocus(); }));
                nameBox->setText(c.typed);
                static_cast<QDialog&>(files).accept();
            });
        EXPECT_EQ(chosen, (folder.path() / c.chosen).string()) << c.name;
    }
}

} // namespace
} // namespace quarvel
