#include "ui/loader_dialog.h"

#include "ui/dialog_builder.h"
#include "ui/loading_dialog.h"
#include "ui/program_file_dialog.h"
#include "ui/transfer_rules.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace quarvel {

namespace {

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void selectIndex(QComboBox& list, int index) {
    list.setCurrentIndex(shownIndex(index, list.count()));
}

} // namespace

LoaderDialog::LoaderDialog(LoadJob& job, LoaderServices services, QWidget* owner)
    : QDialog(owner), m_job(job), m_services(std::move(services)),
      m_values(m_services.readLastValues()) {
    buildDialog(*this, loaderDialogTemplate);
    m_filePathBox = controlOf<QLineEdit>(*this, FilePathBoxId);
    m_portList = controlOf<QComboBox>(*this, PortListId);
    m_channelList = controlOf<QComboBox>(*this, ChannelListId);
    connect(controlOf<QPushButton>(*this, BrowseButtonId), &QPushButton::clicked, this,
            &LoaderDialog::browse);
    connect(controlOf<QPushButton>(*this, GoButtonId), &QPushButton::clicked, this,
            &LoaderDialog::transfer);
    connect(controlOf<QPushButton>(*this, HelpButtonId), &QPushButton::clicked, this,
            &LoaderDialog::showHelp);
    connect(controlOf<QPushButton>(*this, OkButtonId), &QPushButton::clicked, this,
            &QDialog::accept);

    writeControls();
    setWindowTitle(qText(kLoaderTitle));
    m_filePathBox->setFocus();
}

void LoaderDialog::readControls() {
    m_values.filePath = m_filePathBox->text().toStdString();
    m_values.portIndex = m_portList->currentIndex();
    m_values.channelIndex = m_channelList->currentIndex();
}

void LoaderDialog::writeControls() {
    m_filePathBox->setText(QString::fromStdString(m_values.filePath));
    selectIndex(*m_portList, m_values.portIndex);
    selectIndex(*m_channelList, m_values.channelIndex);
}

void LoaderDialog::browse() {
    if (m_loading) {
        return;
    }
    readControls();
    // The file dialog opens in the working directory, so it starts in the current file's folder.
    if (const auto folder = folderOfPath(m_values.filePath)) {
        QDir::setCurrent(QString::fromStdString(*folder));
    }
    ProgramFileDialog chooser(this);
    chooser.setDirectory(QDir::currentPath());
    if (chooser.exec() == QDialog::Accepted && !chooser.chosenFile().isEmpty()) {
        m_filePathBox->setText(QDir::toNativeSeparators(chooser.chosenFile()));
    }
}

void LoaderDialog::transfer() {
    if (m_loading) {
        return;
    }
    readControls();
    auto plan = planTransfer(m_values, m_services);
    if (!plan.load) {
        if (!plan.message.empty()) {
            showMessage(plan.message);
        }
        return;
    }
    LoadingDialog loading(m_job, std::move(*plan.load), this);
    m_loading = true;
    // Nothing acts on this dialog from inside a step, assistive technology included; the loading
    // dialog is a window of its own and stays enabled.
    setEnabled(false);
    loading.setEnabled(true);
    loading.exec();
    setEnabled(true);
    m_loading = false;
}

void LoaderDialog::showHelp() {
    if (!m_services.openHelp()) {
        showMessage(kHelpFailedText);
    }
}

void LoaderDialog::showMessage(std::string_view text) {
    QMessageBox message(QMessageBox::NoIcon, qText(kApplicationTitle), qText(text), QMessageBox::Ok,
                        this);
    message.exec();
}

void LoaderDialog::done(int result) {
    readControls();
    m_services.writeLastValues(m_values);
    QDialog::done(result);
}

} // namespace quarvel
