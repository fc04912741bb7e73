#include "engine/core/ProgramState.h"

#include <gtest/gtest.h>

TEST(SettingsSaveCountdown, SavesOnceWhenItCrossesZero)
{
    // Two changes 0.06 s apart at 0.03 s frames: one save, about 0.1 s after the second.
    settingsSaveCountdown = 0.0f;
    std::vector<int> saveFrames;
    for (int frame = 0; frame < 20; ++frame) {
        if (frame == 0 || frame == 2) {
            settingsSaveCountdown = kSettingsSaveDelay;
        }
        if (AdvanceSettingsSaveCountdown(0.03f)) {
            saveFrames.push_back(frame);
        }
    }
    EXPECT_EQ(saveFrames, std::vector<int>{5});
    EXPECT_LT(settingsSaveCountdown, 0.0f);   // keeps going below zero
}
