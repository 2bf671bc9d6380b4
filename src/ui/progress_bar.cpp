#include "ui/progress_bar.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace quarvel {

namespace {

const QColor barGrey(192, 192, 192);
const QColor barNavy(0, 0, 128);
const QColor borderDark(0, 0, 0);
const QColor borderLight(255, 255, 255);
const QColor textOverFill(255, 255, 255);

// Widened so that a far-off position cannot overflow; painting clips the result anyway.
int filledWidth(int position, int width, int minimum, int maximum) {
    const auto fill = std::int64_t{position} * width / (std::int64_t{maximum} - minimum);
    return static_cast<int>(std::clamp<std::int64_t>(fill, 0, std::numeric_limits<int>::max()));
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressBar::setRange(int minimum, int maximum) {
    if (maximum > minimum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
}

void ProgressBar::setPosition(int position) {
    if (position == m_position) {
        return;
    }
    m_position = position;
    repaint();
}

void ProgressBar::attachTo(QWidget& control) {
    setParent(&control);
    setGeometry(control.rect());
    show();
}

void ProgressBar::paintEvent(QPaintEvent* /*event*/) {
    const int right = width();
    const int bottom = height();
    const QRect client(0, 0, right, bottom);

    QPainter painter(this);
    // The application's default font, not the dialog's: the bar's text does not follow the dialog.
    painter.setFont(QGuiApplication::font());
    const QString text = QString::asprintf("%d%%", m_position);
    const QFontMetrics metrics(painter.font());
    const QRect textBox((right - metrics.horizontalAdvance(text)) / 2,
                        (bottom - metrics.height()) / 2, metrics.horizontalAdvance(text),
                        metrics.height());
    const int fill = filledWidth(m_position, right, m_minimum, m_maximum);

    painter.fillRect(client, barGrey);
    painter.setPen(barNavy);
    painter.setClipRect(client);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop, text);

    // The white pass is clipped to the fill, so the text changes colour exactly at its edge.
    const QRect filled(0, 0, std::min(fill, right), bottom);
    if (fill > 0) {
        painter.fillRect(filled, barNavy);
        painter.setPen(textOverFill);
        painter.setClipRect(filled);
        painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop, text);
    }
    painter.setClipping(false);

    painter.setPen(borderDark);
    painter.drawLine(0, bottom - 1, 0, 0);
    painter.drawLine(0, 0, right - 1, 0);
    painter.setPen(borderLight);
    painter.drawLine(right - 1, 0, right - 1, bottom - 2);
    painter.drawLine(right - 1, bottom - 1, 1, bottom - 1);
}

} // namespace quarvel
