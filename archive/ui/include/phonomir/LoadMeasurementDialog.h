// "Load Measurement Data": picks a folder of one kind and one of its recordings (closing with
// Accepted and the chosen ACFID), deletes recordings, manages the folders and imports the
// folders of another data directory. Modal; messages and questions go through the message sink.
// UI thread only.
#pragma once

#include "phonomir/AcfArchive.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace phonomir {

class LoadMeasurementDialog : public QDialog {
    Q_OBJECT
public:
    LoadMeasurementDialog(DataConnection& connection, MessageSink& messages, char kind, QWidget* parent = nullptr);

    QListWidget* folderList() const { return folders_; }
    QListWidget* measurementList() const { return measurements_; }
    // "Folder Title", "Name", "Place", "Folder Comment", "Date"; "Title", "Comment", "Time".
    QLineEdit* field(const char* name) const;
    QPushButton* button(const char* caption) const;
    std::int32_t selectedAcfId() const { return chosen_; }

    // Asks for the FOLDER table of the data directory to import from (a file dialog); empty:
    // cancelled. Tests replace it.
    std::function<QString()> chooseImportFile;

public slots:
    void load();
    void deleteMeasurement();
    void manageFolders();
    void importFolders();

private:
    void fillFolders();
    void fillMeasurements();
    void showMeasurement();
    const AcfRecord* selectedMeasurement() const;

    DataConnection& connection_;
    MessageSink& messages_;
    AcfArchive archive_;
    char kind_;
    std::vector<FolderRecord> folderRecords_;
    std::vector<AcfRecord> measurementRecords_;
    QListWidget *folders_ = nullptr, *measurements_ = nullptr;
    std::int32_t chosen_ = -1;
};

}  // namespace phonomir
