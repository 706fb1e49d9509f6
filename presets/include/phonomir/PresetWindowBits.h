// The bits that name the measurement windows, in a preset's OPENWINDOW and in the main panel's
// operations that open and close windows.
#pragma once

namespace phonomir {

enum PresetWindowBits : unsigned {
    kSignalGeneratorBit = 1,
    kRealtimeAnalyzerBit = 2,
    kOscilloscopeBit = 4,
    kImpulseResponseBit = 8,  // opens nothing
    kRunningAcfBit = 16,
    kAllWindows = 0xFFFF,
};

// The windows that exist in this program (the impulse response has settings but no window).
inline constexpr unsigned kMeasurementWindows = kSignalGeneratorBit | kRealtimeAnalyzerBit | kOscilloscopeBit |
                                                kRunningAcfBit;
// Every bit a preset may carry.
inline constexpr unsigned kPresetBits = kMeasurementWindows | kImpulseResponseBit;

}  // namespace phonomir
