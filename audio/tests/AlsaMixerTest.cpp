// The mapping of an ALSA card's simple-mixer elements onto mixer lines and controls, on an
// in-memory element list: which elements are sources, the 0..65535 scale, take-over and
// restore, changes made in another mixer program, and cards that cannot play or record.
#include "MemoryAlsaElements.h"
#include "phonomir/AlsaMixer.h"
#include "phonomir/InputSourceList.h"
#include "phonomir/MixerState.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::test;

namespace {

constexpr CardDirections kPlaysAndRecords{true, true};

AlsaElementInfo captureElement(long maximum) {
    AlsaElementInfo e;
    e.name = "Capture";
    e.captureSwitch = e.captureVolume = true;
    e.captureMax = maximum;
    return e;
}

// A typical onboard codec: outputs, inputs mixed into the output, the capture line.
struct Codec {
    Codec() {
        auto list = std::make_unique<MemoryAlsaElements>();
        elements = list.get();
        const std::map<AlsaValue, long> sounding = {{AlsaValue::PlaybackSwitch, 1}, {AlsaValue::PlaybackVolume, 7}};
        master = elements->add(playbackElement("Master"), sounding);
        for (const char* output : {"Headphone", "Speaker", "Front", "Line Out", "PCM", "IEC958"})
            outputs.push_back(elements->add(playbackElement(output), sounding));
        for (const char* input : {"Mic", "Front Mic", "Line", "CD", "Aux", "Beep"})
            inputs.push_back(elements->add(inputElement(input, false), sounding));
        AlsaElementInfo treble;
        treble.name = "Tone Control - Treble";
        treble.playbackVolume = true;
        treble.playbackMax = 15;
        this->treble = elements->add(treble, {{AlsaValue::PlaybackVolume, 3}});
        capture = elements->add(captureElement(63), {{AlsaValue::CaptureSwitch, 0}, {AlsaValue::CaptureVolume, 1}});
        mixer = std::make_unique<AlsaMixer>(std::move(list), "hw:0", kPlaysAndRecords);
    }
    std::uint32_t value(MixerLineType destination, MixerControlType type) {
        return *mixer->readValue(mixer->findControl(mixer->destination(destination)->lineId, type));
    }

    MemoryAlsaElements* elements;
    std::unique_ptr<AlsaMixer> mixer;
    int master, treble, capture;
    std::vector<int> outputs, inputs;
};

TEST(AlsaMixerTest, OnlyInputsMixedIntoTheOutputArePlaybackSources) {
    Codec codec;
    std::vector<std::string> sources;
    for (int index = 0; auto line = codec.mixer->source(MixerLineType::Speakers, index); ++index)
        sources.push_back(line->name);
    EXPECT_EQ(sources, (std::vector<std::string>{"Mic", "Front Mic", "Line", "CD", "Aux", "Beep"}));
    EXPECT_TRUE(isPlaybackSourceElement(inputElement("Video", true)));
    EXPECT_TRUE(isPlaybackSourceElement(inputElement("Tape", true))) << "a capture source is an input";
    EXPECT_FALSE(isPlaybackSourceElement(inputElement("Line Output", false)));
    EXPECT_FALSE(isPlaybackSourceElement(inputElement("Mono Out", true)));
    EXPECT_FALSE(isPlaybackSourceElement(inputElement("Surround", false)));
    EXPECT_FALSE(isPlaybackSourceElement(captureElement(31))) << "no playback switch";
}

TEST(AlsaMixerTest, StartUpMutesMicrophoneAndLineInputsButNoOutput) {
    Codec codec;
    MixerState state;
    ASSERT_TRUE(state.initMixer(*codec.mixer, *codec.mixer));
    state.muteMicrophoneAndLinePlayback();
    for (int output : codec.outputs) EXPECT_EQ(codec.elements->value(output, AlsaValue::PlaybackSwitch), 1) << output;
    const long expected[] = {0, 1, 0, 1, 1, 1};  // Mic and Line muted: names that begin with them
    for (std::size_t i = 0; i < codec.inputs.size(); ++i)
        EXPECT_EQ(codec.elements->value(codec.inputs[i], AlsaValue::PlaybackSwitch), expected[i]) << i;
}

TEST(AlsaMixerTest, VolumesMapOntoTheUniformScaleBothWays) {
    EXPECT_EQ(rawToUniform(0, 0, 31), 0u);
    EXPECT_EQ(rawToUniform(31, 0, 31), 65535u);
    EXPECT_EQ(rawToUniform(15, 0, 31), 31710u);  // 15 x 65535 / 31 = 31710.5
    EXPECT_EQ(rawToUniform(99, 0, 31), 65535u);
    EXPECT_EQ(rawToUniform(-6000, -9000, 0), 21845u);
    EXPECT_EQ(rawToUniform(5, 5, 5), 0u) << "an empty range";
    EXPECT_EQ(uniformToRaw(0x8000, 0, 31), 16);
    EXPECT_EQ(uniformToRaw(65535, -9000, 0), 0);
    EXPECT_EQ(uniformToRaw(0, -9000, 0), -9000);
    EXPECT_EQ(uniformToRaw(70000, 0, 31), 31);
    // A value read and written back is the raw value it came from, whatever the range.
    for (const auto& [low, high] : {std::pair{0L, 31L}, {0L, 63L}, {0L, 255L}, {-9000L, 0L}, {-32768L, 32767L}})
        for (long raw = low; raw <= high; raw += 1 + (high - low) / 4000)
            ASSERT_EQ(uniformToRaw(rawToUniform(raw, low, high), low, high), raw) << low << ".." << high;
}

TEST(AlsaMixerTest, TakeOverAndRestoreGiveBackTheRawValues) {
    Codec codec;
    codec.elements->write(codec.master, AlsaValue::PlaybackSwitch, 0);
    MixerState state;
    ASSERT_TRUE(state.initMixer(*codec.mixer, *codec.mixer));
    state.takeOverOutputMixer();
    state.takeOverInputMixer();
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackSwitch), 1) << "not muted";
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackVolume), 16);  // 0x8000 of 0..31
    EXPECT_EQ(codec.elements->value(codec.treble, AlsaValue::PlaybackVolume), 8);   // 0x8000 of 0..15
    EXPECT_EQ(codec.elements->value(codec.capture, AlsaValue::CaptureSwitch), 1);
    EXPECT_EQ(codec.elements->value(codec.capture, AlsaValue::CaptureVolume), 32);
    state.restoreOutputMixer();
    state.restoreInputMixer();
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackSwitch), 0);
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackVolume), 7);
    EXPECT_EQ(codec.elements->value(codec.treble, AlsaValue::PlaybackVolume), 3);
    EXPECT_EQ(codec.elements->value(codec.capture, AlsaValue::CaptureSwitch), 0);
    EXPECT_EQ(codec.elements->value(codec.capture, AlsaValue::CaptureVolume), 1);
}

// The user turned the volume up in another mixer program after the program started: the
// take-over saves the new value, and the restore gives that back, not the one seen at start.
TEST(AlsaMixerTest, ChangeMadeInAnotherMixerIsSeenAndRestored) {
    Codec codec;
    MixerState state;
    ASSERT_TRUE(state.initMixer(*codec.mixer, *codec.mixer));
    codec.elements->changeElsewhere(codec.master, AlsaValue::PlaybackVolume, 25);
    EXPECT_EQ(codec.value(MixerLineType::Speakers, MixerControlType::Volume), rawToUniform(25, 0, 31));
    codec.elements->changeElsewhere(codec.master, AlsaValue::PlaybackVolume, 30);
    state.takeOverOutputMixer();
    state.restoreOutputMixer();
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackVolume), 30);
}

TEST(AlsaMixerTest, ControlThatCannotBeReadIsNotTakenOver) {
    Codec codec;
    codec.elements->makeUnreadable(codec.master, AlsaValue::PlaybackVolume);
    MixerState state;
    ASSERT_TRUE(state.initMixer(*codec.mixer, *codec.mixer));
    state.takeOverOutputMixer();
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackVolume), 7);
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackSwitch), 1) << "the readable mute is taken over";
    state.restoreOutputMixer();
    EXPECT_EQ(codec.elements->value(codec.master, AlsaValue::PlaybackVolume), 7);
}

TEST(AlsaMixerTest, EnumeratedCaptureSourceIsTheSelector) {
    auto list = std::make_unique<MemoryAlsaElements>();
    MemoryAlsaElements& elements = *list;
    elements.add(playbackElement("Master"), {{AlsaValue::PlaybackSwitch, 1}, {AlsaValue::PlaybackVolume, 31}});
    elements.add(captureElement(31), {{AlsaValue::CaptureSwitch, 1}, {AlsaValue::CaptureVolume, 31}});
    AlsaElementInfo source;
    source.name = "Input Source";
    source.captureEnum = true;
    source.enumItems = {"Mic", "Line", "CD"};
    const int selector = elements.add(source, {{AlsaValue::EnumItem, 2}});
    AlsaElementInfo line;
    line.name = "Line";
    line.captureVolume = true;
    line.captureMax = 31;
    elements.add(line, {{AlsaValue::CaptureVolume, 31}});
    AlsaMixer mixer(std::move(list), "hw:1", kPlaysAndRecords);
    InputSourceList sources(&mixer);
    ASSERT_TRUE(sources.build(2));
    ASSERT_EQ(sources.entries().size(), 3u);
    EXPECT_EQ(sources.selectedIndex(), 2);
    EXPECT_EQ(sources.entries()[1].volumeControl, mixer.findControl(mixer.selectorItems(sources.selectorControl())[1].lineId,
                                                                    MixerControlType::Volume));
    sources.choose(1);
    EXPECT_EQ(elements.value(selector, AlsaValue::EnumItem), 1);
}

TEST(AlsaMixerTest, CardThatCannotRecordHasNoRecordingLine) {
    for (const CardDirections directions : {CardDirections{true, false}, CardDirections{false, true}}) {
        auto list = std::make_unique<MemoryAlsaElements>();
        list->add(playbackElement("Master"), {{AlsaValue::PlaybackSwitch, 1}, {AlsaValue::PlaybackVolume, 31}});
        AlsaMixer mixer(std::move(list), "hw:3", directions);
        MixerState state;
        EXPECT_FALSE(state.initMixer(mixer, mixer));
    }
}

// A digit for another card never reaches the first card's mixer through "default".
TEST(AlsaMixerTest, OnlyTheFirstCardFallsBackToTheDefaultControl) {
    EXPECT_EQ(alsaMixerDevices(0, {0, 1}), (std::vector<std::string>{"hw:0", "default"}));
    EXPECT_EQ(alsaMixerDevices(1, {0, 1}), (std::vector<std::string>{"hw:1"}));
    EXPECT_EQ(alsaMixerDevices(3, {0}), (std::vector<std::string>{"hw:3"}));
    EXPECT_EQ(alsaMixerDevices(2, {2, 5}), (std::vector<std::string>{"hw:2", "default"}));
}

}  // namespace
