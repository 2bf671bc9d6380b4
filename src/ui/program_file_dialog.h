#pragma once

#include <QFileDialog>

namespace quarvel {

// Browse's file-open dialog: the filters "A21 Files (*.a21)", selected, and "All Files (*.*)",
// which shows every file, with or without a full stop in its name, as it does on Windows. A
// typed name of an existing file is taken as typed; the default extension "a21" is added only to
// a name that does not exist.
class ProgramFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit ProgramFileDialog(QWidget* owner);

    // The file the operator chose, once the dialog has been accepted.
    QString chosenFile() const;

protected:
    void accept() override;

private:
    void useFilter(const QString& filter);

    QString m_chosen;
};

} // namespace quarvel
