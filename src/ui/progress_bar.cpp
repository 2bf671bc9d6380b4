#include "ui/progress_bar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
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

class AccessibleProgressBar final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgressBar(ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? QString::asprintf("%d%%", bar().position())
                                          : QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return bar().position(); }
    // The job sets the position; nobody else may.
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return bar().maximum(); }
    QVariant minimumValue() const override { return bar().minimum(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    const ProgressBar& bar() const { return *static_cast<const ProgressBar*>(object()); }
};

QAccessibleInterface* accessibleProgressBar(const QString& /*className*/, QObject* object) {
    auto* bar = qobject_cast<ProgressBar*>(object);
    return bar != nullptr ? new AccessibleProgressBar(bar) : nullptr;
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    [[maybe_unused]] static const bool accessible = [] {
        QAccessible::installFactory(accessibleProgressBar);
        return true;
    }();
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
    QAccessibleValueChangeEvent changed(this, m_position);
    QAccessible::updateAccessibility(&changed);
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
