#pragma once

#include <QDialog>

namespace quarvel {

// The prompt shown when a record has failed all its retries: "Try Again" accepts, "Cancel", Esc
// and the close box reject.
class RetryDialog : public QDialog {
    Q_OBJECT

public:
    explicit RetryDialog(QWidget* owner);
};

} // namespace quarvel
