#include "ui/progress_bar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

constexpr int barWidth = 250;
constexpr int barHeight = 20;
const QRgb grey = qRgb(192, 192, 192);
const QRgb navy = qRgb(0, 0, 128);
const QRgb black = qRgb(0, 0, 0);
const QRgb white = qRgb(255, 255, 255);

QImage paintedAt(int position) {
    ProgressBar bar;
    bar.resize(barWidth, barHeight);
    bar.setPosition(position);
    return bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether any pixel of the columns [from, to) inside the border matches.
bool anyPixel(const QImage& image, int from, int to, const std::function<bool(QRgb)>& test) {
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = std::max(from, 1); x < std::min(to, image.width() - 1); ++x) {
            if (test(image.pixel(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool isWhitish(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) > 200;
}
// Navy ink on grey: bluer than grey, darker than white.
bool isNavyInk(QRgb pixel) {
    return qBlue(pixel) > qRed(pixel) + 30 && qRed(pixel) < 160;
}

struct PixelCase {
    const char* name;
    int position;
    QRgb leftEnd;
    QRgb rightEnd;
    bool whiteTextLeftOfMiddle;
};

TEST(ProgressBarTest, FillsFromTheLeftWithSplitTextColours) {
    const PixelCase cases[] = {
        {"empty bar is grey with navy text", 0, grey, grey, false},
        {"half bar splits the text", 50, navy, grey, true},
        {"full bar is navy with white text", 100, navy, navy, true},
        {"above the maximum fills the whole bar", 150, navy, navy, true},
        {"below the minimum fills nothing", -20, grey, grey, false},
    };
    for (const auto& c : cases) {
        const QImage image = paintedAt(c.position);
        const int middle = barWidth / 2;
        EXPECT_EQ(image.pixel(3, barHeight / 2), c.leftEnd) << c.name;
        EXPECT_EQ(image.pixel(barWidth - 4, barHeight / 2), c.rightEnd) << c.name;
        EXPECT_EQ(anyPixel(image, middle - 40, middle, isWhitish), c.whiteTextLeftOfMiddle)
            << c.name;
        // Navy text where the right half is grey; where it is navy, the navy pass is covered.
        if (c.rightEnd == grey) {
            const auto navyInkOnGrey = [](QRgb pixel) { return isNavyInk(pixel) && pixel != navy; };
            EXPECT_TRUE(anyPixel(image, middle + 1, middle + 40, navyInkOnGrey)) << c.name;
        } else {
            const auto isGrey = [](QRgb pixel) { return pixel == grey; };
            EXPECT_FALSE(anyPixel(image, 0, barWidth, isGrey)) << c.name;
        }
    }
}

TEST(ProgressBarTest, FillEndsAtTheProportionalColumn) {
    const QImage image = paintedAt(57);
    const int fill = 57 * barWidth / 100;
    EXPECT_EQ(image.pixel(fill - 1, 2), navy);
    EXPECT_EQ(image.pixel(fill, 2), grey);
}

struct BorderCase {
    const char* name;
    int x;
    int y;
    QRgb colour;
};

TEST(ProgressBarTest, BorderIsDarkTopLeftAndLightBottomRight) {
    const BorderCase cases[] = {
        {"top left corner", 0, 0, black},
        {"left edge", 0, barHeight / 2, black},
        {"bottom left corner stays dark", 0, barHeight - 1, black},
        {"top edge", barWidth / 3, 0, black},
        {"last dark pixel of the top edge", barWidth - 2, 0, black},
        {"top right corner turns light", barWidth - 1, 0, white},
        {"right edge", barWidth - 1, barHeight / 2, white},
        {"bottom right corner", barWidth - 1, barHeight - 1, white},
        {"bottom edge", barWidth / 3, barHeight - 1, white},
        {"first light pixel of the bottom edge", 1, barHeight - 1, white},
    };
    for (const int position : {0, 100}) {
        const QImage image = paintedAt(position);
        for (const auto& c : cases) {
            EXPECT_EQ(image.pixel(c.x, c.y), c.colour) << c.name << " at " << position;
        }
    }
}

TEST(ProgressBarTest, TextKeepsTheDefaultFontWhateverTheParentUses) {
    QWidget parent;
    QFont large = parent.font();
    large.setPointSize(40);
    parent.setFont(large);
    ProgressBar bar(&parent);
    bar.resize(barWidth, 80);
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int inkRows = 0;
    for (int y = 1; y < image.height() - 1; ++y) {
        bool ink = false;
        for (int x = 1; x < image.width() - 1; ++x) {
            ink = ink || isNavyInk(image.pixel(x, y));
        }
        inkRows += ink ? 1 : 0;
    }
    EXPECT_GT(inkRows, 0);
    EXPECT_LE(inkRows, QFontMetrics(QApplication::font()).height());
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

TEST(ProgressBarTest, RepaintsAtOnceOnlyWhenThePositionChanges) {
    ProgressBar bar;
    bar.resize(barWidth, barHeight);
    bar.show();
    QApplication::processEvents();
    PaintCounter counter;
    bar.installEventFilter(&counter);

    bar.setPosition(57);
    EXPECT_EQ(counter.paints, 1) << "painted before returning, without the event loop";
    bar.setPosition(57);
    EXPECT_EQ(counter.paints, 1) << "the same position again paints nothing";
    bar.setPosition(58);
    EXPECT_EQ(counter.paints, 2);
    EXPECT_EQ(bar.position(), 58);
}

TEST(ProgressBarTest, RangeWithoutWidthIsRefused) {
    ProgressBar bar;
    bar.resize(barWidth, barHeight);
    bar.setRange(0, 0);
    bar.setPosition(50);
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(3, barHeight / 2), navy) << "still 0 to 100";
    EXPECT_EQ(image.pixel(barWidth - 4, barHeight / 2), grey);
}

TEST(ProgressBarTest, AssistiveTechnologySeesAProgressBarWithThePercentageShown) {
    ProgressBar bar;
    bar.resize(barWidth, barHeight);
    for (const int position : {0, 57, 100}) {
        bar.setPosition(position);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&bar);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::ProgressBar) << position;
        QAccessibleValueInterface* value = accessible->valueInterface();
        ASSERT_NE(value, nullptr) << position;
        EXPECT_EQ(value->currentValue().toInt(), position);
        EXPECT_EQ(value->minimumValue().toInt(), 0);
        EXPECT_EQ(value->maximumValue().toInt(), 100);
        EXPECT_EQ(accessible->text(QAccessible::Value), QString::number(position) + "%");
    }
}

} // namespace
} // namespace quarvel
