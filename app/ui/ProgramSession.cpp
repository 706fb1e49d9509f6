#include "phonomir/ProgramSession.h"

#include "phonomir/AudioSystem.h"
#include "phonomir/MainPanel.h"
#include "phonomir/MixerState.h"
#include "phonomir/ProgramIcon.h"
#include "phonomir/QtMessageSink.h"
#include "phonomir/SineTable.h"
#include "phonomir/StringTable.h"
#include "phonomir/TerminationSignals.h"
#include "phonomir/WaveDeviceArguments.h"
#include "phonomir/WaveNotifier.h"

#include <QApplication>
#include <QLocale>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace phonomir {
namespace {

VirtualMixer::SelectorModel virtualSelectorFromEnvironment() {
    const char* model = std::getenv("PHONOMIR_VIRTUAL_MIXER");
    return model && std::strcmp(model, "switches") == 0 ? VirtualMixer::SelectorModel::MuteSwitches
                                                        : VirtualMixer::SelectorModel::Mux;
}

AudioChoice audioChoice(const std::vector<std::string>& arguments) {
    const WaveDeviceIds ids = parseWaveDevices(joinArguments(arguments));
    AudioChoice choice;
    choice.forceVirtualCard = hasVirtualCardOption(arguments) || virtualCardRequestedByEnvironment();
    choice.inputDeviceId = ids.input;
    choice.outputDeviceId = ids.output;
    choice.virtualSelector = virtualSelectorFromEnvironment();
    return choice;
}

}  // namespace

void useCNumericConvention() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

bool takeMixers(Mixer* inputMixer, Mixer* outputMixer, MixerState& state, MessageSink& messages) {
    if (inputMixer && outputMixer && state.initMixer(*inputMixer, *outputMixer)) return true;
    messages.showMessage(loadString(StringId::CantUseMixer), MessageIcon::Stop);
    return false;
}

int runProgramSession(const std::vector<std::string>& arguments, const WindowInstaller& installWindows) {
    useCNumericConvention();
    QApplication::setWindowIcon(programIcon());
    const int language = languageCode();
    const AudioChoice choice = audioChoice(arguments);
    AudioSystem audio(choice);
    MixerState mixer;
    QtMessageSink messages;
    if (!takeMixers(audio.inputMixer(), audio.outputMixer(), mixer, messages)) return 1;
    initTables();
    WaveNotifier notifier;
    auto waveIn = std::make_unique<WaveIn>(audio.engine(), &mixer, &messages, notifier.wake());
    auto waveOut = std::make_unique<WaveOut>(audio.engine(), &mixer, &messages, notifier.wake());
    notifier.attach(waveIn.get(), waveOut.get());

    PanelContext context{*waveIn, *waveOut, mixer, messages, choice.inputDeviceId, language,
                         QString::fromStdString(audio.description())};
    auto panel = std::make_unique<MainPanel>(context);
    messages.setParent(panel.get());
    SessionContext session{*panel, *waveIn, *waveOut, messages, choice.inputDeviceId, choice.outputDeviceId};
    if (installWindows) installWindows(session);
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, panel.get(), &QDialog::reject);
    QObject::connect(panel.get(), &MainPanel::exitRequested, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    panel->show();
    const int status = QApplication::exec();

    panel.reset();
    notifier.attach(nullptr, nullptr);
    waveIn.reset();
    waveOut.reset();
    return status;
}

}  // namespace phonomir
