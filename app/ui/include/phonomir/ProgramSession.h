// The program from start-up to exit, in this order: language code, "/WD=" devices, the sound
// system and its mixers ("Can't use mixer." ends the program), the shared tables, WaveIn and
// WaveOut, then the main panel. Exit, Escape, the close box, SIGINT and SIGTERM all end the
// event loop; then the panel is destroyed (closing every window and the input), and WaveIn and
// WaveOut are deleted in that order. UI thread only.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace phonomir {

class MainPanel;
class MessageSink;
class Mixer;
class MixerState;
class WaveIn;
class WaveOut;

// What the measurement windows are given when the program installs them into the panel's slots.
struct SessionContext {
    MainPanel& panel;
    WaveIn& waveIn;
    WaveOut& waveOut;
    MessageSink& messages;
    int inputDeviceId = 0;
    int outputDeviceId = 0;
};
// Sets the panel's window factories; called once the panel exists, before it is shown.
using WindowInstaller = std::function<void(SessionContext&)>;

// Numbers are written and read in the C convention ("5.38", "44.100 kHz") whatever the user's
// locale: the program's formats are C formats, and its exports are read by other programs.
// QApplication takes the user's locale for everything; this puts LC_NUMERIC and Qt's default
// locale back to C. runProgramSession calls it first; call it once QApplication exists.
void useCNumericConvention();

// The mixers of the chosen cards for the program's mixer state. Shows "Can't use mixer." and
// returns false when a card's mixer could not be opened (null) or the card cannot play or record.
bool takeMixers(Mixer* inputMixer, Mixer* outputMixer, MixerState& state, MessageSink& messages);

// Runs the program with its arguments (without the program name); returns the exit status.
int runProgramSession(const std::vector<std::string>& arguments, const WindowInstaller& installWindows = {});

}  // namespace phonomir
