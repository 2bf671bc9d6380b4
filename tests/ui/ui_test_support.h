#pragma once

#include <QObject>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>

class QWidget;

namespace quarvel {

// Runs the event loop until the condition holds; false if it never does within a generous bound.
bool waitUntil(const std::function<bool()>& condition);

// Offers every modal window that comes up to the handler, from a 5 ms poll, until the handler
// answers true; a modal run started by the code under test is handled this way.
class ModalHandler : public QObject {
public:
    explicit ModalHandler(std::function<bool(QWidget& modal)> handler);
    bool handled() const { return m_handled; }

private:
    std::function<bool(QWidget&)> m_handler;
    QTimer m_poll;
    bool m_handled = false;
};

// The control that Tab moves to from the given one: the next of the dialog's own controls that
// takes focus by Tab, skipping the parts inside a control.
QWidget* nextTabStop(const QWidget& dialog, QWidget& from);

// Files written for the tests by srec_cat and ImageMagick.
std::filesystem::path fixturePath(const std::string& name);

} // namespace quarvel
