#pragma once

#include <QWidget>

namespace quarvel {

// The loading dialog's percentage bar: light grey, filling with navy from the left, with the
// position written in the middle as "57%" (navy over grey, white over navy). Assistive technology
// sees a progress bar whose value is the position shown.
class ProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    // Ignored unless maximum is greater than minimum, so that painting never divides by zero.
    void setRange(int minimum, int maximum);
    // Paints at once when the position changes, since a job step keeps the event loop waiting;
    // an unchanged position paints nothing.
    void setPosition(int position);
    int position() const { return m_position; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // Takes over the painting of an existing control: covers it completely, as its only child.
    void attachTo(QWidget& control);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
};

} // namespace quarvel
