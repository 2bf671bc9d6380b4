#include "ui/retry_dialog.h"

#include "ui/dialog_builder.h"

#include <QKeyEvent>
#include <QPushButton>

namespace quarvel {

RetryDialog::RetryDialog(QWidget* owner) : QDialog(owner) {
    buildDialog(*this, retryDialogTemplate);
    auto* cancel = controlOf<QPushButton>(*this, CancelButtonId);
    connect(controlOf<QPushButton>(*this, OkButtonId), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    // A focused button that is not auto-default leaves the default look where it is.
    cancel->setAutoDefault(false);
    cancel->setFocus();
}

void RetryDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                       (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); enter && focused != nullptr) {
        focused->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quarvel
