#include "phonomir/AudioSystem.h"
#include "phonomir/InputSourceList.h"
#include "phonomir/MixerState.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace phonomir;

namespace {

TEST(AudioSystemTest, ForcedVirtualCardHasAMixerThatDrivesIt) {
    AudioChoice choice;
    choice.forceVirtualCard = true;
    choice.realTimeClock = false;
    choice.virtualSelector = VirtualMixer::SelectorModel::MuteSwitches;
    AudioSystem system(choice);
    ASSERT_TRUE(system.usesVirtualCard());
    EXPECT_EQ(system.description(), "Virtual sound card");
    MixerState state;
    ASSERT_TRUE(state.initMixer(*system.inputMixer(), *system.outputMixer()));
    InputSourceList list(system.inputMixer());
    list.build(2);
    list.setSliderPosition(0);
    EXPECT_EQ(system.virtualCard()->recordingLevel(), 0.0f);
}

TEST(AudioSystemTest, EnvironmentVariableAsksForTheVirtualCard) {
    ::unsetenv("PHONOMIR_VIRTUAL_CARD");
    EXPECT_FALSE(virtualCardRequestedByEnvironment());
    ::setenv("PHONOMIR_VIRTUAL_CARD", "0", 1);
    EXPECT_FALSE(virtualCardRequestedByEnvironment());
    ::setenv("PHONOMIR_VIRTUAL_CARD", "1", 1);
    EXPECT_TRUE(virtualCardRequestedByEnvironment());
    ::unsetenv("PHONOMIR_VIRTUAL_CARD");
}

}  // namespace
