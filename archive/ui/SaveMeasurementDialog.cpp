#include "phonomir/SaveMeasurementDialog.h"

#include "phonomir/ArchiveDialogParts.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/FolderManagementDialog.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace phonomir {

SaveMeasurementDialog::SaveMeasurementDialog(AcfArchive& archive, MessageSink& messages, const AcfRecord& conditions,
                                             const ArchiveWave& wave, QWidget* parent, const StoredFactors* factors)
    : QDialog(parent), archive_(archive), messages_(messages), record_(conditions), wave_(wave), factors_(factors) {
    setWindowTitle(QStringLiteral("Save Measurement Data"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Folder"), this), 0, 0);
    folders_ = new QListWidget(this);
    folders_->setMinimumWidth(220);
    grid->addWidget(folders_, 1, 0, 6, 1);
    setFormatted(*labelledReadout(this, grid, 0, "Sampling Rate"), "%.3f kHz", conditions.sampling * 0.001);
    setText(*labelledReadout(this, grid, 1, "Channels"),
            conditions.channel == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
    setFormatted(*labelledReadout(this, grid, 2, "Measure Time"), "%.2f", conditions.dataTime);
    setText(*labelledReadout(this, grid, 3, "Time"), QString::fromStdString(displayTime(conditions.time)));
    title_ = labelledEdit(this, grid, 4, "Title", 30);
    grid->addWidget(new QLabel(QStringLiteral("Comment"), this), 5, 1);
    comment_ = new QPlainTextEdit(this);
    comment_->setObjectName(QStringLiteral("Comment"));
    comment_->setMaximumHeight(80);
    grid->addWidget(comment_, 5, 2, 2, 2);
    auto* buttons = new QHBoxLayout;
    QPushButton* saveButton = addButton(this, buttons, "&Save");
    connect(saveButton, &QPushButton::clicked, this, &SaveMeasurementDialog::save);
    connect(addButton(this, buttons, "&Folder..."), &QPushButton::clicked, this, &SaveMeasurementDialog::manageFolders);
    connect(addButton(this, buttons, "Cancel"), &QPushButton::clicked, this, &QDialog::reject);
    grid->addLayout(buttons, 7, 0, 1, 4);
    fillFolders();
    title_->setFocus();
}

QLineEdit* SaveMeasurementDialog::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void SaveMeasurementDialog::fillFolders() {
    folders_->clear();
    folderRecords_.clear();
    archive_.folders('A', folderRecords_);
    for (const FolderRecord& folder : folderRecords_) folders_->addItem(QString::fromStdString(folder.title));
}

void SaveMeasurementDialog::manageFolders() {
    FolderManagementDialog(archive_, messages_, 'A', this).exec();
    fillFolders();
}

void SaveMeasurementDialog::save() {
    const int row = folders_->currentRow();
    if (row < 0 || row >= static_cast<int>(folderRecords_.size())) {
        messages_.showMessage(loadString(StringId::SelectFolder), MessageIcon::Exclamation);
        return;
    }
    if (title_->text().isEmpty()) {
        messages_.showMessage(loadString(StringId::TitleMissing), MessageIcon::Exclamation);
        return;
    }
    if (!messages_.askOkCancel(StringId::AskSaveData, loadString(StringId::AskSaveData))) return;
    record_.folderId = folderRecords_[row].folderId;
    record_.title = title_->text().toStdString();
    record_.comment = comment_->toPlainText().toStdString();
    switch (archive_.save(record_, wave_, factors_)) {
        case AcfArchive::SaveResult::Saved: accept(); return;
        case AcfArchive::SaveResult::WaveNotWritten:
        case AcfArchive::SaveResult::FactorsNotWritten:
            messages_.showMessage(loadString(StringId::CantWriteData), MessageIcon::Exclamation);
            return;
        case AcfArchive::SaveResult::NotAppended: return;  // reported by the table
    }
}

}  // namespace phonomir
