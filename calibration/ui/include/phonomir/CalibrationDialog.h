// The "Calibration" dialog: lists the microphone calibration records of MICCAL, lets the user
// pick one, edit, create, overwrite or delete records, enter up to 20 response points (or import
// them from the response file a microphone ships with), and set the Input Level offset against
// a live meter that records the input; a 1 kHz test tone can play on the output meanwhile.
// Modal, run from the Realtime Analyzer; it opens the input (and the output for the tone) as
// their primary client and closes both when it ends. UI thread only.
#pragma once

#include "phonomir/CalibrationMeter.h"
#include "phonomir/CalibrationPoints.h"
#include "phonomir/FrequencyResponseGraph.h"
#include "phonomir/MicCalStore.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"
#include "phonomir/WaveOut.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace phonomir {

struct CalibrationContext {
    WaveIn& waveIn;
    WaveOut& waveOut;
    DataConnection& connection;
    MessageSink& messages;
    int inputDeviceId = 0;
    int outputDeviceId = 0;
    // The main window's recording source (index, volume 0..65535), and choosing one.
    std::function<std::optional<std::pair<int, std::uint32_t>>()> getInputSource;
    std::function<void(int index, std::uint32_t volume)> selectInputSource;
    int languageCode = 2;
    // Asks for a file to read (save false) or write; empty when cancelled. Tests replace it.
    std::function<QString(const QString& caption, bool save)> chooseFile;
};

class CalibrationDialog : public QDialog, public WaveClient {
    Q_OBJECT
public:
    enum ControlId {
        kRecordList = 1204, kGraph = 1212, kPointList = 1209, kFrequency = 1197, kLevel = 1211, kSet = 7,
        kDeletePoint = 8, kMicInfo = 1205, kMicAmpInfo = 1206, kComment = 1175, kInputLevel = 1219,
        kWeighting = 1269, kTestSignal = 1218, kOffset = 1268, kOk = 1215, kRelease = 1216, kCancel = 2,
        kNew = 1169, kOverwrite = 1170, kDeleteRecord = 3, kEdit = 4, kImport = 1301, kExport = 1302,
    };

    CalibrationDialog(CalibrationContext context, int currentId, QWidget* parent = nullptr);
    ~CalibrationDialog() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;
    QWidget* control(int id) const;
    // After OK: the chosen record's id, or -1 after "&Release".
    int chosenId() const { return chosenId_; }
    double offsetDb() const { return offsetDb_; }
    bool expanded() const { return expanded_; }
    const CalibrationPoints& points() const { return points_; }
    FrequencyResponseGraph& graph() const { return *graph_; }

public slots:
    void openEditing();  // "&Edit"

protected:
    void done(int result) override;

private:
    void buildControls();
    QWidget* buildEditingPart();
    void fillRecordList(int selectId);
    void loadSelectedRecord();
    void showPoints();
    void updateCurves();
    void setPoint();
    void deletePoint();
    void newRecord();
    void overwriteRecord();
    void deleteRecord();
    void acceptSelection();
    void release();
    void toggleTestSignal(bool on);
    void offsetMoved(int tenths);
    void importResponse();
    void exportResponse();
    MicCalEdit editFromControls() const;
    std::optional<std::int32_t> selectedId() const;
    void closeStreams();
    void ask(int id);

    CalibrationContext context_;
    MicCalStore store_;
    CalibrationMeter meter_;
    TestTone tone_;
    CalibrationPoints points_;
    std::vector<float> displayCurve_;
    double offsetDb_ = 100.0;
    int chosenId_ = -1;
    bool changed_ = false;
    bool expanded_ = false;
    bool loading_ = false;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;

    QTreeWidget* records_ = nullptr;
    QTreeWidget* pointList_ = nullptr;
    FrequencyResponseGraph* graph_ = nullptr;
    QLineEdit* frequency_ = nullptr;
    QLineEdit* level_ = nullptr;
    QLineEdit* micInfo_ = nullptr;
    QLineEdit* micAmpInfo_ = nullptr;
    QLineEdit* comment_ = nullptr;
    QLineEdit* inputLevel_ = nullptr;
    QComboBox* weighting_ = nullptr;
    QCheckBox* testSignal_ = nullptr;
    QScrollBar* offset_ = nullptr;
    QPushButton* newButton_ = nullptr;
    QPushButton* overwrite_ = nullptr;
    QPushButton* deleteRecord_ = nullptr;
    QPushButton* edit_ = nullptr;
    QWidget* editingPart_ = nullptr;
};

// Runs the dialog modally; the chosen id (-1: none) after OK, empty after Cancel.
std::optional<int> runCalibrationDialog(CalibrationContext context, int currentId, QWidget* parent);

}  // namespace phonomir
