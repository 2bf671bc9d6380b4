#include "ui/program_file_dialog.h"

#include "ui/main_dialog_logic.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>

namespace quarvel {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const QString programFilter = qText(kProgramFilterName);
const QString everyFileFilter = qText(kEveryFileFilterName);
const QString defaultExtension = qText(kDefaultExtension);

} // namespace

ProgramFileDialog::ProgramFileDialog(QWidget* owner) : QFileDialog(owner) {
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters({programFilter, everyFileFilter});
    setDefaultSuffix(defaultExtension);
#ifndef _WIN32
    // Elsewhere "*.*" asks for a full stop in the name; Qt's own dialog lets the filter be
    // widened to every file once it is chosen.
    setOption(QFileDialog::DontUseNativeDialog);
    connect(this, &QFileDialog::filterSelected, this, &ProgramFileDialog::useFilter);
#endif
}

void ProgramFileDialog::useFilter(const QString& filter) {
    if (filter != everyFileFilter) {
        return;
    }
    // Queued, so that it follows the dialog's own handling of the choice whatever their order.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (auto* files = findChild<QFileSystemModel*>()) {
                files->setNameFilters({QStringLiteral("*")});
            }
        },
        Qt::QueuedConnection);
}

void ProgramFileDialog::accept() {
    // Qt's own dialog selects the first file that starts with what was typed ("notes" selects
    // "notes.a21"), so the typed text itself decides.
    const auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = nameBox != nullptr ? nameBox->text() : QString();
    const QFileInfo asTyped(QDir(directory()).filePath(typed));
    if (!typed.isEmpty() && asTyped.isFile()) {
        m_chosen = asTyped.absoluteFilePath();
        QDialog::accept();
        return;
    }
    m_chosen.clear();
    QFileDialog::accept();
}

QString ProgramFileDialog::chosenFile() const {
    return !m_chosen.isEmpty() ? m_chosen : selectedFiles().value(0);
}

} // namespace quarvel
