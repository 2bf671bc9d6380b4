#include "ui/progress_bar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

namespace quarvel {

namespace {

QColor qColour(const BarColour& colour) {
    return {colour.red, colour.green, colour.blue};
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
        return kind == QAccessible::Value ? QString::fromStdString(percentText(bar().position()))
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
    m_value.setRange(minimum, maximum);
}

void ProgressBar::setPosition(int position) {
    if (!m_value.setPosition(position)) {
        return;
    }
    repaint();
    QAccessibleValueChangeEvent changed(this, position);
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
    const QString text = QString::fromStdString(percentText(m_value.position()));
    const QFontMetrics metrics(painter.font());
    const int textWidth = metrics.horizontalAdvance(text);
    const auto layout = layoutBar(m_value, right, bottom, textWidth, metrics.height());
    const QRect textBox(layout.textX, layout.textY, textWidth, metrics.height());
    const int fill = layout.fill;

    painter.fillRect(client, qColour(kBarGrey));
    painter.setPen(qColour(kBarNavy));
    painter.setClipRect(client);
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop, text);

    // The white pass is clipped to the fill, so the text changes colour exactly at its edge.
    const QRect filled(0, 0, std::min(fill, right), bottom);
    if (fill > 0) {
        painter.fillRect(filled, qColour(kBarNavy));
        painter.setPen(qColour(kTextOverFill));
        painter.setClipRect(filled);
        painter.drawText(textBox, Qt::AlignLeft | Qt::AlignTop, text);
    }
    painter.setClipping(false);

    painter.setPen(qColour(kBorderDark));
    painter.drawLine(0, bottom - 1, 0, 0);
    painter.drawLine(0, 0, right - 1, 0);
    painter.setPen(qColour(kBorderLight));
    painter.drawLine(right - 1, 0, right - 1, bottom - 2);
    painter.drawLine(right - 1, bottom - 1, 1, bottom - 1);
}

} // namespace quarvel
