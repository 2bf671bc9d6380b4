#include "job/load_job.h"
#include "ui/dialog_builder.h"
#include "ui/loader_dialog.h"
#include "ui/loading_dialog.h"
#include "ui/retry_dialog.h"
#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace quarvel {
namespace {

struct PixelCase {
    const char* name;
    DialogRect units;
    DialogBaseUnits base;
    QRect expected;
};

TEST(DialogUnitsTest, ConvertAsTheDialogManagerDoes) {
    const PixelCase cases[] = {
        {"classic 8 point font", {70, 21, 125, 12}, {6, 13}, {105, 34, 188, 20}},
        {"halves round away from zero", {2, 4, 6, 12}, {6, 13}, {3, 7, 9, 20}},
        {"x and width in quarters", {4, 0, 8, 0}, {7, 16}, {7, 0, 14, 0}},
        {"y and height in eighths", {0, 8, 0, 16}, {7, 16}, {0, 16, 0, 32}},
        {"zero stays zero", {0, 0, 0, 0}, {5, 11}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toPixels(c.units, c.base), c.expected) << c.name;
    }
}

// Where each control of a template must be, in dialog units, and what it must say.
struct ControlCase {
    int id;
    DialogRect units;
    const char* caption;
};

void expectControls(const QDialog& dialog, const std::vector<ControlCase>& cases) {
    const auto base = dialogBaseUnits(dialog.font());
    for (const auto& c : cases) {
        QWidget* control = findControl(dialog, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        const QRect expected = toPixels(c.units, base);
        EXPECT_EQ(control->pos(), expected.topLeft()) << c.id;
        EXPECT_EQ(control->width(), expected.width()) << c.id;
        if (qobject_cast<QComboBox*>(control) == nullptr) {
            EXPECT_EQ(control->height(), expected.height()) << c.id;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(c.caption)) << c.id;
        }
    }
}

std::vector<int> tabOrder(const QDialog& dialog, int firstId) {
    std::vector<int> ids;
    QWidget* start = findControl(dialog, firstId);
    QWidget* widget = start;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            ids.push_back(widget->property("controlId").toInt());
        }
        widget = widget->nextInFocusChain();
    } while (widget != start && ids.size() < 20);
    return ids;
}

QStringList captionsOf(const QDialog& dialog) {
    QStringList captions;
    for (auto* label : dialog.findChildren<QLabel*>()) {
        captions << label->text();
    }
    for (auto* group : dialog.findChildren<QGroupBox*>()) {
        captions << group->title();
    }
    captions.sort();
    return captions;
}

QSize sizeInUnits(const QDialog& dialog, int width, int height) {
    return toPixels({0, 0, width, height}, dialogBaseUnits(dialog.font())).size();
}

TEST(DialogTemplateTest, RetryPromptFollowsTemplate105) {
    RetryDialog dialog(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    EXPECT_EQ(dialog.font().family(), "MS Sans Serif");
    EXPECT_EQ(dialog.size(), sizeInUnits(dialog, 187, 50));
    expectControls(dialog, {{CancelButtonId, {40, 30, 50, 14}, "Cancel"},
                            {OkButtonId, {95, 30, 50, 14}, "Try Again"}});
    EXPECT_EQ(tabOrder(dialog, CancelButtonId), (std::vector<int>{CancelButtonId, OkButtonId}));
    EXPECT_TRUE(controlOf<QPushButton>(dialog, OkButtonId)->isDefault());
    EXPECT_FALSE(controlOf<QPushButton>(dialog, CancelButtonId)->isDefault());
    EXPECT_EQ(captionsOf(dialog),
              QStringList{"The application could not send some of the data. Would you like it to "
                          "try sending it again?"});

    QStringList readable;
    QAccessibleInterface* prompt = QAccessible::queryAccessibleInterface(&dialog);
    for (int i = 0; i < prompt->childCount(); ++i) {
        readable << prompt->child(i)->text(QAccessible::Name);
    }
    EXPECT_TRUE(readable.contains("The application could not send some of the data. Would you "
                                  "like it to try sending it again?"))
        << readable.join('|').toStdString();
}

struct AnswerCase {
    const char* name;
    int buttonId;
    int result;
};

TEST(DialogTemplateTest, RetryPromptAnswers) {
    const AnswerCase cases[] = {
        {"Try Again accepts", OkButtonId, QDialog::Accepted},
        {"Cancel rejects", CancelButtonId, QDialog::Rejected},
    };
    for (const auto& c : cases) {
        RetryDialog dialog(nullptr);
        dialog.show();
        controlOf<QPushButton>(dialog, c.buttonId)->click();
        EXPECT_EQ(dialog.result(), c.result) << c.name;
        EXPECT_FALSE(dialog.isVisible()) << c.name;
    }
}

struct EnterCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

TEST(DialogTemplateTest, RetryPromptOpensOnCancelSoThatEnterAnswersCancel) {
    const EnterCase cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"Enter on the keypad", Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const auto& c : cases) {
        RetryDialog dialog(nullptr);
        dialog.show();
        auto* cancel = controlOf<QPushButton>(dialog, CancelButtonId);
        EXPECT_EQ(dialog.focusWidget(), cancel) << c.name;
        EXPECT_TRUE(controlOf<QPushButton>(dialog, OkButtonId)->isDefault()) << c.name;
        EXPECT_FALSE(cancel->isDefault()) << c.name;
        QKeyEvent enter(QEvent::KeyPress, c.key, c.modifiers);
        QApplication::sendEvent(dialog.focusWidget(), &enter);
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << c.name;
        EXPECT_FALSE(dialog.isVisible()) << c.name;
    }
}

TEST(DialogTemplateTest, EnterOnTryAgainRetries) {
    RetryDialog dialog(nullptr);
    dialog.show();
    QWidget* tryAgain = nextTabStop(dialog, *dialog.focusWidget());
    ASSERT_EQ(tryAgain, findControl(dialog, OkButtonId));
    tryAgain->setFocus();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(tryAgain, &enter);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// A frame with a title bar and a close box, and no minimise or maximise button: what the
// platform window is given, not only what the widget asked for.
TEST(DialogTemplateTest, EveryDialogHasACloseBoxAndNoMinimiseOrMaximise) {
    LoadJob job([](const SerialSettings&) { return std::unique_ptr<ByteChannel>(); }, false);
    LoaderServices services{[] { return LastValues{}; }, [](const LastValues&) {},
                            [] { return std::filesystem::path(); }, [] { return true; }};
    LoaderDialog loader(job, services);
    LoadingDialog loading(job, {"", 1, 127}, &loader);
    RetryDialog retry(&loading);
    for (QDialog* dialog : std::vector<QDialog*>{&loader, &loading, &retry}) {
        const auto name = dialog->windowTitle().toStdString();
        dialog->winId();
        ASSERT_NE(dialog->windowHandle(), nullptr) << name;
        const Qt::WindowFlags flags = dialog->windowHandle()->flags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog) << name;
        EXPECT_TRUE(flags & Qt::WindowTitleHint) << name;
        EXPECT_TRUE(flags & Qt::WindowSystemMenuHint) << name;
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint) << name;
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint) << name;
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << name << ": modal frame";
    }
}

TEST(DialogTemplateTest, DropDownListsDropBelowWithTheirOwnHeight) {
    LoadJob job([](const SerialSettings&) { return std::unique_ptr<ByteChannel>(); }, false);
    LoaderServices services{[] { return LastValues{}; }, [](const LastValues&) {},
                            [] { return std::filesystem::path(); }, [] { return true; }};
    LoaderDialog loader(job, services);
    for (const int id : {PortListId, ChannelListId}) {
        auto* list = controlOf<QComboBox>(loader, id);
        QStyleOptionComboBox option;
        option.initFrom(list);
        // Styles that lay a menu over the control ignore the list's visible-item count.
        EXPECT_EQ(list->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, list), 0) << id;
    }
    EXPECT_LT(controlOf<QComboBox>(loader, ChannelListId)->maxVisibleItems(), 17)
        << "the channel list scrolls";
}

TEST(DialogTemplateTest, DialogSurfacesAreLightGreyWithBlackText) {
    RetryDialog dialog(nullptr);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), QColor(Qt::black));
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(192, 192, 192));
}

} // namespace
} // namespace quarvel
