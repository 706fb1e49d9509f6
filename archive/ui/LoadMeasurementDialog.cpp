#include "phonomir/LoadMeasurementDialog.h"

#include "phonomir/ArchiveDialogParts.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/FolderDate.h"
#include "phonomir/FolderImport.h"
#include "phonomir/FolderManagementDialog.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace phonomir {
namespace {

// The FOLDER table of another data directory; Qt's own dialog matches the name without regard
// to case, so "FOLDER.DBF" shows as well as "folder.dbf".
QString askForFolderTable(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Import"), QString(), QStringLiteral("Sound Data File (folder.dbf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("dbf"));
    dialog.selectFile(QStringLiteral("folder.dbf"));
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

QGroupBox* listGroup(QWidget* parent, const char* title, QListWidget*& list, QGridLayout*& fields) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    auto* layout = new QHBoxLayout(group);
    list = new QListWidget(group);
    list->setMinimumWidth(200);
    layout->addWidget(list);
    fields = new QGridLayout;
    layout->addLayout(fields);
    return group;
}

}  // namespace

LoadMeasurementDialog::LoadMeasurementDialog(DataConnection& connection, MessageSink& messages, char kind,
                                             QWidget* parent)
    : QDialog(parent), connection_(connection), messages_(messages), archive_(connection, messages), kind_(kind) {
    setWindowTitle(QStringLiteral("Load Measurement Data"));
    chooseImportFile = [this] { return askForFolderTable(this); };
    auto* layout = new QVBoxLayout(this);
    QGridLayout *folderFields = nullptr, *measurementFields = nullptr;
    layout->addWidget(listGroup(this, "Folder", folders_, folderFields));
    labelledReadout(this, folderFields, 0, "Title", "Folder Title");
    labelledReadout(this, folderFields, 1, "Name");
    labelledReadout(this, folderFields, 2, "Place");
    labelledReadout(this, folderFields, 3, "Comment", "Folder Comment");
    labelledReadout(this, folderFields, 4, "Date");
    layout->addWidget(listGroup(this, "Measurement Data", measurements_, measurementFields));
    labelledReadout(this, measurementFields, 0, "Title");
    labelledReadout(this, measurementFields, 1, "Comment");
    labelledReadout(this, measurementFields, 2, "Time");
    auto* buttons = new QHBoxLayout;
    connect(addButton(this, buttons, "&Load"), &QPushButton::clicked, this, &LoadMeasurementDialog::load);
    connect(addButton(this, buttons, "&Delete"), &QPushButton::clicked, this, &LoadMeasurementDialog::deleteMeasurement);
    connect(addButton(this, buttons, "&Folder..."), &QPushButton::clicked, this, &LoadMeasurementDialog::manageFolders);
    addButton(this, buttons, "&Wave File")->setEnabled(false);  // wave files belong to other folder kinds
    connect(addButton(this, buttons, "&Import"), &QPushButton::clicked, this, &LoadMeasurementDialog::importFolders);
    connect(addButton(this, buttons, "Cancel"), &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
    connect(folders_, &QListWidget::currentRowChanged, this, &LoadMeasurementDialog::fillMeasurements);
    connect(measurements_, &QListWidget::currentRowChanged, this, &LoadMeasurementDialog::showMeasurement);
    connect(measurements_, &QListWidget::itemDoubleClicked, this, &LoadMeasurementDialog::load);
    fillFolders();
}

QLineEdit* LoadMeasurementDialog::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

QPushButton* LoadMeasurementDialog::button(const char* caption) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == QString::fromLatin1(caption)) return b;
    return nullptr;
}

void LoadMeasurementDialog::fillFolders() {
    folders_->clear();
    measurements_->clear();
    folderRecords_.clear();
    measurementRecords_.clear();
    archive_.folders(kind_, folderRecords_);
    for (const FolderRecord& folder : folderRecords_) folders_->addItem(QString::fromStdString(folder.title));
}

// The selected folder's fields and its recordings.
void LoadMeasurementDialog::fillMeasurements() {
    measurements_->clear();
    measurementRecords_.clear();
    for (const char* name : {"Title", "Comment", "Time"}) clearText(*field(name));
    const int row = folders_->currentRow();
    if (row < 0 || row >= static_cast<int>(folderRecords_.size())) return;
    const FolderRecord& folder = folderRecords_[row];
    setText(*field("Folder Title"), QString::fromStdString(folder.title));
    setText(*field("Name"), QString::fromStdString(folder.name));
    setText(*field("Place"), QString::fromStdString(folder.place));
    setText(*field("Folder Comment"), QString::fromStdString(folder.comment));
    setText(*field("Date"), QString::fromStdString(typedFromStored(folder.date)));
    archive_.recordings(folder.folderId, measurementRecords_);
    for (const AcfRecord& record : measurementRecords_) measurements_->addItem(QString::fromStdString(record.title));
}

const AcfRecord* LoadMeasurementDialog::selectedMeasurement() const {
    const int row = measurements_->currentRow();
    return row >= 0 && row < static_cast<int>(measurementRecords_.size()) ? &measurementRecords_[row] : nullptr;
}

void LoadMeasurementDialog::showMeasurement() {
    const AcfRecord* record = selectedMeasurement();
    if (!record) return;
    setText(*field("Title"), QString::fromStdString(record->title));
    setText(*field("Comment"), QString::fromStdString(record->comment));
    setText(*field("Time"), QString::fromStdString(displayTime(record->time)));
}

void LoadMeasurementDialog::load() {
    const AcfRecord* record = selectedMeasurement();
    if (!record) {
        messages_.showMessage(loadString(StringId::SelectData), MessageIcon::Exclamation);
        return;
    }
    chosen_ = record->acfId;
    accept();
}

void LoadMeasurementDialog::deleteMeasurement() {
    const AcfRecord* record = selectedMeasurement();
    if (!record) {
        messages_.showMessage(loadString(StringId::SelectData), MessageIcon::Exclamation);
        return;
    }
    if (!messages_.askOkCancel(StringId::AskDeleteData, loadString(StringId::AskDeleteData))) return;
    archive_.deleteRecording(record->acfId);
    fillMeasurements();
}

void LoadMeasurementDialog::manageFolders() {
    FolderManagementDialog(archive_, messages_, kind_, this).exec();
    fillFolders();
}

// The chosen file's folder is the data directory the folders come from.
void LoadMeasurementDialog::importFolders() {
    const QString file = chooseImportFile ? chooseImportFile() : QString();
    if (file.isEmpty()) return;
    const std::string source = QFileInfo(file).absolutePath().toStdString();
    ImportCount count;
    switch (importAcfFolders(connection_, source, messages_, count)) {
        case ImportResult::SameDirectory:
            messages_.showMessage("These folders are this program's own.", MessageIcon::Information);
            return;
        case ImportResult::Imported:
            messages_.showMessage("Imported " + std::to_string(count.folders) + " folders with " +
                                      std::to_string(count.recordings) + " recordings.",
                                  MessageIcon::Information);
            break;
        case ImportResult::Failed: break;  // reported where it failed
    }
    fillFolders();
}

}  // namespace phonomir
