#include "WaveTestSupport.h"
#include "phonomir/InputSourceList.h"
#include "phonomir/MixerState.h"
#include "phonomir/SourceNameTable.h"
#include "phonomir/VirtualMixer.h"
#include "phonomir/VirtualSoundCard.h"
#include "phonomir/WaveIn.h"
#include "phonomir/WaveOut.h"

#include <gtest/gtest.h>

using namespace phonomir;
using namespace phonomir::test;
using Model = VirtualMixer::SelectorModel;

namespace {

constexpr int kEnglish = 2;

std::vector<std::string> numberedSources(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("Source " + std::to_string(i));
    return names;
}

std::uint32_t value(VirtualMixer& mixer, int lineId, MixerControlType type) {
    return *mixer.readValue(mixer.findControl(lineId, type));
}

TEST(InputSourceListTest, MuxSelectorSetsExactlyTheChosenItem) {
    VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources());
    InputSourceList list(&mixer);
    ASSERT_TRUE(list.build(kEnglish));
    ASSERT_EQ(list.entries().size(), 4u);
    EXPECT_EQ(list.entries()[2].name, "CD Player");
    EXPECT_EQ(list.entries()[2].muteControl, -1);
    list.choose(2);
    EXPECT_EQ(mixer.selectorValues(list.selectorControl()), (std::vector<std::uint32_t>{0, 0, 1, 0}));
}

TEST(InputSourceListTest, WithoutSelectorChoosingMutesEveryOtherSource) {
    VirtualMixer mixer(Model::MuteSwitches, VirtualMixer::standardSources());
    InputSourceList list(&mixer);
    ASSERT_TRUE(list.build(kEnglish));
    EXPECT_EQ(list.selectorControl(), -1);
    list.choose(1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(value(mixer, VirtualMixer::kFirstRecordingSource + i, MixerControlType::Mute), i == 1 ? 0u : 1u);
    }
}

TEST(InputSourceListTest, StartingSelectionIsTheLastSourceHeard) {
    VirtualMixer switches(Model::MuteSwitches, VirtualMixer::standardSources());
    for (int i : {1, 2}) switches.writeValue(switches.findControl(VirtualMixer::kFirstRecordingSource + i, MixerControlType::Mute), 0);
    InputSourceList fromSwitches(&switches);
    fromSwitches.build(kEnglish);
    EXPECT_EQ(fromSwitches.selectedIndex(), 2);
    EXPECT_EQ(value(switches, VirtualMixer::kFirstRecordingSource + 1, MixerControlType::Mute), 1u)
        << "building applies the selection";

    VirtualMixer mux(Model::Mux, VirtualMixer::standardSources());
    const int selector = mux.findControl(VirtualMixer::kRecordingLine, MixerControlType::Mux);
    mux.writeSelectorValues(selector, {0, 1, 0, 1});
    InputSourceList fromMux(&mux);
    fromMux.build(kEnglish);
    EXPECT_EQ(fromMux.selectedIndex(), 3);
    EXPECT_EQ(mux.selectorValues(selector), (std::vector<std::uint32_t>{0, 0, 0, 1}));
}

TEST(InputSourceListTest, OnlyTheFirstTwentySourcesAreListed) {
    for (Model model : {Model::Mux, Model::MuteSwitches}) {
        VirtualMixer mixer(model, numberedSources(25));
        InputSourceList list(&mixer);
        ASSERT_TRUE(list.build(kEnglish));
        ASSERT_EQ(list.entries().size(), 20u);
        EXPECT_EQ(list.entries().back().name, "Source 19");
    }
}

TEST(InputSourceListTest, UnreadableSourceStopsBuildingWithTheSliderDisabled) {
    VirtualMixer mixer(Model::MuteSwitches, VirtualMixer::standardSources());
    mixer.failSourceReadsFrom(2);
    InputSourceList list(&mixer);
    EXPECT_FALSE(list.build(kEnglish));
    EXPECT_EQ(list.entries().size(), 2u);
    EXPECT_FALSE(list.sliderEnabled());
}

TEST(InputSourceListTest, SliderMapsVolumeBothWays) {
    VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources());
    InputSourceList list(&mixer);
    list.build(kEnglish);
    EXPECT_TRUE(list.sliderEnabled());
    EXPECT_EQ(list.sliderPosition(), 100);
    list.setSliderPosition(30);
    EXPECT_EQ(value(mixer, VirtualMixer::kFirstRecordingSource, MixerControlType::Volume), 19660u);
    EXPECT_EQ(list.sliderPosition(), 29);  // 19660 x 100 / 65535, truncated
}

TEST(InputSourceListTest, SelectInputSourceIgnoresIndicesPastTheEnd) {
    VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources());
    InputSourceList list(&mixer);
    list.build(kEnglish);
    EXPECT_FALSE(list.selectInputSource(4, 100));
    EXPECT_EQ(list.getInputSource()->first, 0);
    EXPECT_TRUE(list.selectInputSource(1, 0x8000));
    EXPECT_EQ(*list.getInputSource(), std::make_pair(1, std::uint32_t{0x8000}));
    EXPECT_FALSE(InputSourceList(&mixer).getInputSource()) << "nothing is selected before building";
}

TEST(SourceNameTableTest, JapaneseNamesAreTranslatedOutsideJapanese) {
    EXPECT_EQ(displaySourceName("ﾗｲﾝ入力", kEnglish), "Line In");
    EXPECT_EQ(displaySourceName("WAVE 出力ミックス", 0), "WAVE Out Mix");
    EXPECT_EQ(displaySourceName("CD(ﾃﾞｼﾞﾀﾙ)", kEnglish), "CD(digital)");
    EXPECT_EQ(displaySourceName("マイク", 1), "マイク");
    EXPECT_EQ(displaySourceName("マイク ", kEnglish), "マイク ") << "comparison is exact";
}

TEST(MixerStateTest, MissingDestinationLineMeansNoMixer) {
    for (MixerLineType missing : {MixerLineType::Speakers, MixerLineType::WaveIn}) {
        VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources());
        mixer.removeDestination(missing);
        MixerState state;
        EXPECT_FALSE(state.initMixer(mixer, mixer));
    }
}

TEST(MixerStateTest, MicrophoneAndLinePlaybackAreMutedAtStartUp) {
    VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources());
    MixerState state;
    ASSERT_TRUE(state.initMixer(mixer, mixer));
    state.muteMicrophoneAndLinePlayback();
    EXPECT_EQ(value(mixer, VirtualMixer::kFirstPlaybackSource + 0, MixerControlType::Mute), 1u);
    EXPECT_EQ(value(mixer, VirtualMixer::kFirstPlaybackSource + 1, MixerControlType::Mute), 1u);
    EXPECT_EQ(value(mixer, VirtualMixer::kFirstPlaybackSource + 2, MixerControlType::Mute), 0u);
    EXPECT_TRUE(isMicrophoneOrLineName("MICROPHONE"));
    EXPECT_TRUE(isMicrophoneOrLineName("ﾗｲﾝ入力"));
    EXPECT_FALSE(isMicrophoneOrLineName("Mi"));
}

TEST(MixerStateTest, TakeOverRestoresSpeakerControlsAndRecordingLine) {
    VirtualSoundCard card;
    VirtualMixer mixer(Model::Mux, VirtualMixer::standardSources(), &card);
    MixerState state;
    ASSERT_TRUE(state.initMixer(mixer, mixer));
    const auto speakers = VirtualMixer::kSpeakersLine, recording = VirtualMixer::kRecordingLine;
    mixer.writeValue(mixer.findControl(speakers, MixerControlType::Mute), 1);
    mixer.writeValue(mixer.findControl(speakers, MixerControlType::Treble), 0x1234);
    mixer.writeValue(mixer.findControl(recording, MixerControlType::Volume), 0x2000);
    card.setOutputVolume(0, 0x11112222);
    std::vector<Notification> log;
    RecordingClient client("client", log);
    WaveOut waveOut(card, &state, nullptr, nullptr);
    WaveIn waveIn(card, &state, nullptr, nullptr);
    waveOut.openOutput(0, &client, {2, 48000, 16, 4, 1024}, true, true);
    waveIn.openInput(0, &client, {2, 48000, 16, 4, 1024}, true);
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Mute), 0u);
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Treble), 0x8000u);
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Bass), 0x8000u);
    EXPECT_EQ(value(mixer, recording, MixerControlType::Volume), 0x8000u);
    waveOut.setOutputVolume(0, 0);
    waveOut.closeOutput();
    waveIn.closeInput();
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Mute), 1u);
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Treble), 0x1234u);
    EXPECT_EQ(value(mixer, speakers, MixerControlType::Volume), 0xFFFFu);
    EXPECT_EQ(value(mixer, recording, MixerControlType::Volume), 0x2000u);
    EXPECT_EQ(card.outputVolume(0), 0x11112222u);
}

TEST(VirtualMixerTest, VolumesAndSelectionSetTheCardsRecordingLevel) {
    VirtualSoundCard card;
    VirtualMixer mixer(Model::MuteSwitches, VirtualMixer::standardSources(), &card);
    InputSourceList list(&mixer);
    list.build(kEnglish);
    EXPECT_FLOAT_EQ(card.recordingLevel(), 1.0f);
    list.setSliderPosition(50);
    EXPECT_NEAR(card.recordingLevel(), 0.5f, 1e-4);
    list.choose(1);
    EXPECT_FLOAT_EQ(card.recordingLevel(), 1.0f);
    mixer.writeValue(mixer.findControl(VirtualMixer::kRecordingLine, MixerControlType::Mute), 1);
    EXPECT_FLOAT_EQ(card.recordingLevel(), 0.0f);
}

}  // namespace
