#include "ui/retry_dialog.h"

#include "ui/dialog_builder.h"

#include <QPushButton>

namespace quarvel {

RetryDialog::RetryDialog(QWidget* owner) : QDialog(owner) {
    buildDialog(*this, retryDialogTemplate);
    connect(controlOf<QPushButton>(*this, OkButtonId), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(controlOf<QPushButton>(*this, CancelButtonId), &QPushButton::clicked, this,
            &QDialog::reject);
}

} // namespace quarvel
