#include "phonomir/FolderManagementDialog.h"

#include "phonomir/ArchiveDialogParts.h"
#include "phonomir/FolderDate.h"
#include "phonomir/StringTable.h"
#include "phonomir/TextControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <ctime>

namespace phonomir {

FolderManagementDialog::FolderManagementDialog(AcfArchive& archive, MessageSink& messages, char kind, QWidget* parent)
    : QDialog(parent), archive_(archive), messages_(messages), kind_(kind) {
    setWindowTitle(QStringLiteral("Folder Management"));
    auto* grid = new QGridLayout(this);
    list_ = new QListWidget(this);
    list_->setMinimumWidth(220);
    grid->addWidget(list_, 0, 0, 7, 1);
    title_ = labelledEdit(this, grid, 0, "Title", 30);
    name_ = labelledEdit(this, grid, 1, "Name", 20);
    place_ = labelledEdit(this, grid, 2, "Place", 20);
    comment_ = labelledEdit(this, grid, 3, "Comment", 100);
    date_ = labelledEdit(this, grid, 4, "Date", 10);
    scale_ = labelledEdit(this, grid, 5, "Scale", 8);
    grid->addWidget(new QLabel(QStringLiteral("(1/n)"), this), 5, 3);
    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, void (FolderManagementDialog::*)()> actions[] = {
        {"&New", &FolderManagementDialog::newFolder},
        {"&Change", &FolderManagementDialog::changeFolder},
        {"&Delete", &FolderManagementDialog::deleteFolder}};
    for (const auto& [caption, action] : actions)
        connect(addButton(this, buttons, caption), &QPushButton::clicked, this, action);
    connect(addButton(this, buttons, "E&xit"), &QPushButton::clicked, this, &QDialog::accept);
    grid->addLayout(buttons, 7, 0, 1, 4);
    setText(*date_, QString::fromStdString(typedDate(std::time(nullptr))));
    setText(*scale_, QStringLiteral("1"));
    connect(list_, &QListWidget::currentRowChanged, this, &FolderManagementDialog::showSelected);
    fillList();
}

QLineEdit* FolderManagementDialog::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

void FolderManagementDialog::fillList() {
    list_->clear();
    folders_.clear();
    archive_.folders(kind_, folders_);
    for (const FolderRecord& folder : folders_) list_->addItem(QString::fromStdString(folder.title));
}

const FolderRecord* FolderManagementDialog::selected() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(folders_.size()) ? &folders_[row] : nullptr;
}

void FolderManagementDialog::showSelected() {
    const FolderRecord* folder = selected();
    if (!folder) return;
    setText(*title_, QString::fromStdString(folder->title));
    setText(*name_, QString::fromStdString(folder->name));
    setText(*place_, QString::fromStdString(folder->place));
    setText(*comment_, QString::fromStdString(folder->comment));
    setText(*date_, QString::fromStdString(typedFromStored(folder->date)));
    setReal(*scale_, folder->scale == 0 ? 1.0 : folder->scale);
}

// The fields into the folder's record; false (after saying so) when the date is no date.
bool FolderManagementDialog::fieldsInto(FolderRecord& folder) {
    const std::optional<std::string> date = storedFolderDate(date_->text().toStdString());
    if (!date) {
        messages_.showMessage(kTypeTheDate, MessageIcon::Exclamation);
        date_->setFocus();
        return false;
    }
    folder.date = *date;
    folder.title = title_->text().toStdString();
    folder.name = name_->text().toStdString();
    folder.place = place_->text().toStdString();
    folder.comment = comment_->text().toStdString();
    folder.scale = getReal(*scale_);
    return true;
}

void FolderManagementDialog::newFolder() {
    if (title_->text().isEmpty()) {
        messages_.showMessage(loadString(StringId::TitleMissing), MessageIcon::Exclamation);
        return;
    }
    FolderRecord folder;
    folder.type = std::string(1, kind_);
    if (!fieldsInto(folder)) return;
    if (!messages_.askOkCancel(StringId::AskMakeFolder, loadString(StringId::AskMakeFolder))) return;
    archive_.addFolder(folder);
    fillList();
}

void FolderManagementDialog::changeFolder() {
    const FolderRecord* current = selected();
    if (!current) {
        messages_.showMessage(loadString(StringId::SelectFolder), MessageIcon::Exclamation);
        return;
    }
    FolderRecord folder = *current;
    if (!fieldsInto(folder)) return;
    if (!messages_.askOkCancel(StringId::AskChangeFolder, loadString(StringId::AskChangeFolder))) return;
    archive_.changeFolder(folder);
    fillList();
}

void FolderManagementDialog::deleteFolder() {
    const FolderRecord* current = selected();
    if (!current) {
        messages_.showMessage(loadString(StringId::SelectFolder), MessageIcon::Exclamation);
        return;
    }
    if (!messages_.askOkCancel(StringId::AskDeleteFolder, loadString(StringId::AskDeleteFolder))) return;
    archive_.deleteFolder(current->folderId);
    fillList();
}

}  // namespace phonomir
