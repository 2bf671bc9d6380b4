#include "ui/dialog_builder.h"
#include "ui/loader_dialog.h"
#include "ui/retry_dialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
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

TEST(DialogTemplateTest, DialogSurfacesAreLightGreyWithBlackText) {
    RetryDialog dialog(nullptr);
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));
    EXPECT_EQ(dialog.palette().color(QPalette::WindowText), QColor(Qt::black));
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(192, 192, 192));
}

} // namespace
} // namespace quarvel
