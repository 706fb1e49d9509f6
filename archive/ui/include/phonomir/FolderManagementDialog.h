// "Folder Management": creates, changes and deletes the folders of one kind. Modal, run inside
// the dialog or window that opened it; every message and question goes through the message
// sink. UI thread only.
#pragma once

#include "phonomir/AcfArchive.h"
#include "phonomir/FolderRecord.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QListWidget;

namespace phonomir {

class FolderManagementDialog : public QDialog {
    Q_OBJECT
public:
    FolderManagementDialog(AcfArchive& archive, MessageSink& messages, char kind, QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    QLineEdit* field(const char* name) const;  // "Title", "Name", "Place", "Comment", "Date", "Scale"

public slots:
    void newFolder();
    void changeFolder();
    void deleteFolder();

private:
    void fillList();
    void showSelected();
    bool fieldsInto(FolderRecord& folder);
    const FolderRecord* selected() const;

    AcfArchive& archive_;
    MessageSink& messages_;
    char kind_;
    std::vector<FolderRecord> folders_;
    QListWidget* list_ = nullptr;
    QLineEdit *title_ = nullptr, *name_ = nullptr, *place_ = nullptr, *comment_ = nullptr, *date_ = nullptr,
              *scale_ = nullptr;
};

}  // namespace phonomir
