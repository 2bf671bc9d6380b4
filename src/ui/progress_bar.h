#pragma once

#include "ui/bar_drawing.h"

#include <QWidget>

namespace quarvel {

// The loading dialog's percentage bar drawn with Qt. Assistive technology sees a progress bar
// whose value is the position shown.
class ProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    // Paints at once when the position changes, since a job step keeps the event loop waiting;
    // an unchanged position paints nothing.
    void setPosition(int position);
    int position() const { return m_value.position(); }
    int minimum() const { return m_value.minimum(); }
    int maximum() const { return m_value.maximum(); }

    // Takes over the painting of an existing control: covers it completely, as its only child.
    void attachTo(QWidget& control);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BarValue m_value;
};

} // namespace quarvel
