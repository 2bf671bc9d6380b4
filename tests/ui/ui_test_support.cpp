#include "ui_test_support.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>

namespace quarvel {

bool waitUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(20000);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

ModalHandler::ModalHandler(std::function<bool(QWidget& modal)> handler)
    : m_handler(std::move(handler)) {
    m_poll.setInterval(5);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && m_handler(*modal)) {
            m_handled = true;
            m_poll.stop();
        }
    });
    m_poll.start();
}

QWidget* nextTabStop(const QWidget& dialog, QWidget& from) {
    for (QWidget* next = from.nextInFocusChain(); next != &from; next = next->nextInFocusChain()) {
        if (next->parentWidget() == &dialog && (next->focusPolicy() & Qt::TabFocus)) {
            return next;
        }
    }
    return nullptr;
}

std::filesystem::path fixturePath(const std::string& name) {
    return std::filesystem::path(QUARVEL_UI_FIXTURE_DIR) / name;
}

} // namespace quarvel
