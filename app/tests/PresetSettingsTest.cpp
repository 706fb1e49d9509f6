// Settings sections into preset memos and back: the bytes of SETDATA.DAT, and damaged memos
// (empty, short, long, fields that are not numbers) loaded fit for the windows.
#include "phonomir/PresetSettings.h"

#include "phonomir/ByteCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace phonomir;

namespace {

constexpr std::size_t kGenerator = 0;  // the generator's memo among the sections

// A block whose every section differs from the defaults, all values in range.
SettingsBlock changedBlock() {
    SettingsBlock block;
    block.generator.windowX = 300;
    block.generator.toneFrequency = 440.0;
    block.generator.signalKind = 2;
    block.analyzer.fftSize = 16384;
    block.analyzer.calibrationId = 3;
    block.oscilloscope.gainExponentLeft = 7;
    block.oscilloscope.windowY = 250;
    block.impulseResponse[0] = 0x5A;
    block.runningAcf.integrationTime = 0.25;
    return block;
}

PresetMemo generatorMemo(const GeneratorSettings& settings) {
    SettingsBlock block;
    block.generator = settings;
    return presetContentOf(block, kSignalGeneratorBit).memos[kGenerator];
}

}  // namespace

TEST(PresetSettings, SectionsOfTheOpenWindowsAreTheBytesOfTheSettingsFile) {
    const SettingsBlock block = changedBlock();
    const auto file = block.encoded();
    const PresetContent content = presetContentOf(block, kPresetBits);
    EXPECT_EQ(content.openWindow, 31);
    const std::size_t offsets[] = {SettingsBlock::kGeneratorOffset, SettingsBlock::kAnalyzerOffset,
                                   SettingsBlock::kOscilloscopeOffset, SettingsBlock::kImpulseResponseOffset,
                                   SettingsBlock::kRunningAcfOffset};
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        const PresetMemo expected(file.begin() + offsets[k], file.begin() + offsets[k] + kPresetSections[k].size);
        EXPECT_EQ(content.memos[k], expected) << kPresetSections[k].field;
    }
}

TEST(PresetSettings, EmptyMemoLoadsAZeroRecordBroughtIntoRange) {
    SettingsBlock block = changedBlock();
    loadPresetSection(block, kSignalGeneratorBit, {});
    EXPECT_EQ(block.generator.toneFrequency, 0.0);
    EXPECT_EQ(block.generator.digitalOutput, 0);
    EXPECT_EQ(block.generator.sampleRateIndex, 0);
    loadPresetSection(block, kRealtimeAnalyzerBit, {});
    EXPECT_EQ(block.analyzer.fftSize, 8192);  // no FFT of size 0
    EXPECT_EQ(block.analyzer.waterfallLines, 5);
    EXPECT_EQ(block.analyzer.calibrationId, 0);
    loadPresetSection(block, kImpulseResponseBit, {});
    EXPECT_EQ(block.impulseResponse, (std::array<std::uint8_t, 52>{}));
}

TEST(PresetSettings, ShortMemoKeepsItsBytesAndZerosTheRest) {
    GeneratorSettings settings;
    settings.windowX = 120;
    settings.windowY = 80;
    settings.signalKind = 1;
    PresetMemo memo = generatorMemo(settings);
    memo.resize(12);
    SettingsBlock block;
    loadPresetSection(block, kSignalGeneratorBit, memo);
    EXPECT_EQ(block.generator.windowX, 120);
    EXPECT_EQ(block.generator.windowY, 80);
    EXPECT_EQ(block.generator.signalKind, 1);
    EXPECT_EQ(block.generator.sampleRateIndex, 0);
    EXPECT_EQ(block.generator.pulsePeriod, 0.0);
    loadPresetSection(block, kImpulseResponseBit, {1, 2, 3});
    EXPECT_EQ(block.impulseResponse[2], 3);
    EXPECT_EQ(block.impulseResponse[3], 0);
}

TEST(PresetSettings, EverySectionRoundTripsAndALongerMemoIsCutToItsRecord) {
    const SettingsBlock saved = changedBlock();
    PresetContent content = presetContentOf(saved, kPresetBits);
    SettingsBlock loaded;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        content.memos[k].resize(content.memos[k].size() + 300, 0xFF);
        loadPresetSection(loaded, kPresetSections[k].bit, content.memos[k]);
    }
    EXPECT_EQ(loaded.encoded(), saved.encoded());
}

TEST(PresetSettings, FieldsThatAreNotNumbersOrOutOfRangeAreBroughtIntoRange) {
    GeneratorSettings generator;
    generator.toneFrequency = std::numeric_limits<double>::quiet_NaN();
    generator.sweepRate = std::numeric_limits<double>::infinity();
    generator.levelLeft = 1000;
    SettingsBlock block;
    loadPresetSection(block, kSignalGeneratorBit, generatorMemo(generator));
    EXPECT_EQ(block.generator.toneFrequency, 1000.0);
    EXPECT_EQ(block.generator.sweepRate, 0.5);
    EXPECT_EQ(block.generator.levelLeft, 100);

    PresetMemo analyzer(AnalyzerSettings::kEncodedSize, 0xFF);  // every field -1
    loadPresetSection(block, kRealtimeAnalyzerBit, analyzer);
    EXPECT_EQ(block.analyzer.fftSize, 8192);
    EXPECT_EQ(block.analyzer.sampleRateIndex, 0);
    EXPECT_EQ(block.analyzer.lowerFrequency, 0);
    EXPECT_EQ(block.analyzer.calibrationId, -1);

    PresetMemo runningAcf(RunningAcfSettings::kEncodedSize, 0xFF);  // doubles NaN, integers -1
    loadPresetSection(block, kRunningAcfBit, runningAcf);
    EXPECT_EQ(block.runningAcf.integrationTime, 2.0);
    EXPECT_EQ(block.runningAcf.runningStep, 0.5);
    EXPECT_EQ(block.runningAcf.timeRangeMs, 100.0);
    EXPECT_EQ(block.runningAcf.numberOfData, 1);
    EXPECT_EQ(block.runningAcf.measurementSeconds, 1);

    PresetMemo oscilloscope(OscilloscopeSettings::kEncodedSize, 0x7F);  // every field 0x7F7F7F7F
    loadPresetSection(block, kOscilloscopeBit, oscilloscope);
    EXPECT_EQ(block.oscilloscope.sweepTimeIndex, 15);
    EXPECT_EQ(block.oscilloscope.gainExponentLeft, 15);
    EXPECT_EQ(block.oscilloscope.triggerLevel, 50);
    EXPECT_EQ(block.oscilloscope.xyMode, 1);
}
