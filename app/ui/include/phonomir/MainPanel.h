// The main panel (dialog 102): recording source and its volume, the input and output peak level
// meters, the "Input" monitor box and the buttons that open the measurement windows. It is the
// listener of both wave devices and the primary client of the input monitor's stream. Its
// controls carry their dialog ids as object names "id<number>". Destroying it closes every
// measurement window and then the input. UI thread only.
#pragma once

#include "phonomir/InputSourceList.h"
#include "phonomir/MessageSink.h"
#include "phonomir/MixerState.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveNotify.h"
#include "phonomir/WaveOut.h"
#include "phonomir/WindowSlots.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <utility>

class QCheckBox;
class QLabel;
class QComboBox;
class QMenu;
class QPushButton;
class QSlider;

namespace phonomir {

class LevelMeterWidget;

struct PanelContext {
    WaveIn& waveIn;
    WaveOut& waveOut;
    MixerState& mixer;
    MessageSink& messages;
    int inputDeviceId = 0;
    int languageCode = 0;
    QString deviceDescription;  // shown so that the user sees which device is in use
};

class MainPanel : public QDialog, public WaveClient {
    Q_OBJECT
public:
    enum ControlId {
        kExit = 1, kImpulseResponse = 1022, kRunningAcf = 1025, kSignalGenerator = 1026, kPreset = 1027,
        kRealtimeAnalyzer = 1028, kOscilloscope = 1029, kDeviceList = 1151, kVolume = 1152, kInputBox = 1153,
        kInputMeter = 1154, kOutputMeter = 1155,
    };
    enum SystemCommand { kAboutCommand = 16, kOnlineUpdateCommand = 102 };

    explicit MainPanel(PanelContext context, QWidget* parent = nullptr);
    ~MainPanel() override;

    long waveNotify(WaveNotifyCode code, WaveBuffer* buffer) override;

    WindowSlots& windows() { return windows_; }
    // Selected source index and its volume 0..65535, if any.
    std::optional<std::pair<int, std::uint32_t>> getInputSource() const { return sources_.getInputSource(); }
    void selectInputSource(int index, std::uint32_t volume);

    QWidget* control(int id) const;
    QMenu* systemMenu() const { return systemMenu_; }
    // What "&Preset" runs; the button stays disabled until there is one.
    void setPresetAction(std::function<void()> action);
    void runSystemCommand(int command);
    // The update library to load instead of libksupdate.so beside the program (tests).
    void setUpdateLibraryPath(const QString& path) { updateLibrary_ = path; }

signals:
    void exitRequested();

protected:
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildSourceGroup();
    QWidget* buildMonitorGroup();
    QWidget* buildButtons();
    void buildSystemMenu();
    QPushButton* buildSystemMenuButton(QWidget* parent);
    void enableWindowButton(unsigned bit);
    void buildSourceList();
    void watchMixer(Mixer* mixer);
    void showSlider();
    void sourceChosen(int index);
    void inputBoxToggled(bool checked);
    void setInputBox(bool checked);
    void runOnlineUpdate();
    void showDeviceLine();

    PanelContext context_;
    InputSourceList sources_;
    WindowSlots windows_;
    QComboBox* deviceList_ = nullptr;
    QSlider* volume_ = nullptr;
    QCheckBox* inputBox_ = nullptr;
    QLabel* deviceLine_ = nullptr;
    LevelMeterWidget* inputMeter_ = nullptr;
    LevelMeterWidget* outputMeter_ = nullptr;
    QMenu* systemMenu_ = nullptr;
    std::function<void()> presetAction_;
    QString updateLibrary_;  // empty: libksupdate.so beside the program
    bool placed_ = false;
};

}  // namespace phonomir
