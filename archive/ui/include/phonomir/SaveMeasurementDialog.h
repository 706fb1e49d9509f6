// "Save Measurement Data" for a running-ACF recording: files it into a chosen folder of kind "A"
// under a title and comment, with its factors when it has them. Closes with Accepted once the
// record, its wave and its factors are written; a wave or factors that cannot be written leave
// the dialog open after "Can't write data." (nothing of the recording stays). Modal; messages
// and questions go through the message sink. UI thread only.
#pragma once

#include "phonomir/AcfArchive.h"

#include <QDialog>

#include <vector>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace phonomir {

class SaveMeasurementDialog : public QDialog {
    Q_OBJECT
public:
    // conditions: SAMPLING, CHANNEL, SAMPLENUM, DATATIME and TIME of the recording; wave: its sound;
    // factors (when given): its ACFFACT record, saved with it.
    SaveMeasurementDialog(AcfArchive& archive, MessageSink& messages, const AcfRecord& conditions,
                          const ArchiveWave& wave, QWidget* parent = nullptr, const StoredFactors* factors = nullptr);

    QListWidget* folderList() const { return folders_; }
    QLineEdit* field(const char* name) const;  // "Title", "Sampling Rate", "Channels", "Measure Time", "Time"
    QPlainTextEdit* comment() const { return comment_; }
    const AcfRecord& saved() const { return record_; }  // after Accepted: with its FOLDERID and ACFID

public slots:
    void save();
    void manageFolders();

private:
    void fillFolders();

    AcfArchive& archive_;
    MessageSink& messages_;
    AcfRecord record_;
    const ArchiveWave& wave_;
    const StoredFactors* factors_;
    std::vector<FolderRecord> folderRecords_;
    QListWidget* folders_ = nullptr;
    QLineEdit* title_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
};

}  // namespace phonomir
