#pragma once

#include <QDialog>

namespace quarvel {

// The prompt shown when a record has failed all its retries: "Try Again" accepts, "Cancel", Esc
// and the close box reject. It opens with the focus on "Cancel", its first tab stop, so that a key
// pressed by habit stops a failing load instead of retrying it; "Try Again" keeps the default
// button's look.
class RetryDialog : public QDialog {
    Q_OBJECT

public:
    explicit RetryDialog(QWidget* owner);

protected:
    // Enter presses the focused button, as the dialog manager does, and the default one otherwise.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace quarvel
