// The order in which a preset is applied, against a program whose windows write their settings
// into the block while they close, as the measurement windows do.
#include "phonomir/PresetApplication.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace phonomir;

namespace {

// A settings block of one byte per section and the set of open windows. Closing a window
// writes its section, as a window's close and move handlers write its settings.
class WindowsWritingOnClose : public PresetTarget {
public:
    void closeWindows(unsigned bits) override {
        for (const PresetSection& section : kPresetSections) {
            if ((bits & open & section.bit) == 0) continue;
            block[section.field] = 0xEE;
            open &= ~section.bit;
        }
        log += "close " + std::to_string(bits) + ";";
    }
    void loadSection(const PresetSection& section, const PresetMemo& memo) override {
        block[section.field] = fittedMemo(memo, 1)[0];
        log += std::string("load ") + section.field + ";";
    }
    void openWindows(unsigned bits) override {
        open |= bits;
        log += "open " + std::to_string(bits) + ";";
    }

    unsigned open = 0;
    std::map<std::string, int> block;
    std::string log;
};

PresetContent presetOf(std::int32_t openWindow) {
    PresetContent content;
    content.openWindow = openWindow;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) content.memos[k] = {static_cast<std::uint8_t>(k + 1)};
    return content;
}

}  // namespace

TEST(PresetApplicationTest, WindowsCloseBeforeTheSectionsAreLoaded) {
    WindowsWritingOnClose program;
    program.open = kSignalGeneratorBit | kOscilloscopeBit;
    applyPreset(presetOf(kSignalGeneratorBit | kOscilloscopeBit), program);
    EXPECT_EQ(program.log, "close 23;load SG;load OS;open 5;");
    EXPECT_EQ(program.block["SG"], 1);
    EXPECT_EQ(program.block["OS"], 3);
    EXPECT_EQ(program.open, 5u);
}

TEST(PresetApplicationTest, ImpulseResponseLoadsAndOpensNothingAndUnknownBitsAreIgnored) {
    WindowsWritingOnClose program;
    applyPreset(presetOf(kImpulseResponseBit | 0x7FE0), program);
    EXPECT_EQ(program.log, "close 23;load IMP;open 0;");
    EXPECT_EQ(program.block["IMP"], 4);
}
