// The elements of one ALSA card's simple mixer, as AlsaMixer maps them onto mixer lines: what
// each element can do, and reading and writing its values. The program uses the library's own
// list of a card (openAlsaCardElements); tests give an in-memory list, so that the mapping is
// tested without sound hardware. UI thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace phonomir {

struct AlsaElementInfo {
    std::string name;                 // the simple element's name, e.g. "Master", "Line Out", "Mic"
    unsigned index = 0;               // its index among elements of that name
    bool active = true;
    bool playbackSwitch = false, playbackVolume = false;
    bool captureSwitch = false, captureVolume = false;
    bool captureEnum = false;         // an enumerated capture-source selector
    long playbackMin = 0, playbackMax = 0;  // raw volume ranges
    long captureMin = 0, captureMax = 0;
    std::vector<std::string> enumItems;     // item names of an enumerated element
};

// Switches are 1 = on (sounding), 0 = off; volumes are raw values; EnumItem is an item index.
enum class AlsaValue { PlaybackSwitch, PlaybackVolume, CaptureSwitch, CaptureVolume, EnumItem };

class AlsaElementList {
public:
    virtual ~AlsaElementList() = default;
    // In the library's order; an element's id is its position here.
    virtual const std::vector<AlsaElementInfo>& elements() const = 0;
    // The first channel's value; empty when it cannot be read (the element is gone, say).
    virtual std::optional<long> read(int element, AlsaValue what) = 0;
    // Sets every channel; false when nothing could be written.
    virtual bool write(int element, AlsaValue what, long value) = 0;
    // Descriptors that become readable when the card's mixer changes (another mixer program,
    // the card removed); handleEvents() then brings the values read here up to date. False when
    // the mixer can no longer report anything.
    virtual std::vector<int> eventDescriptors() const = 0;
    virtual bool handleEvents() = 0;
};

// The simple-mixer elements of an ALSA control device ("hw:N" or "default"); null when it
// cannot be opened.
std::unique_ptr<AlsaElementList> openAlsaCardElements(const std::string& device);

}  // namespace phonomir
