#pragma once
// A game module in a folder holding the world fixtures, loading worlds the
// way the loading screen does: one RunLoadStep a frame.

// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/world/World.h"

#include <filesystem>
#include <vector>

class WorldFilesTest : public GameTest {
protected:
    WorldFilesTest()
    {
        std::filesystem::copy(FixturePath(L"worlds").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
    }

    // One stage's progress values, call by call, until it is done.
    static std::vector<float> RunStage(World& world, World::LoadStage stage)
    {
        std::vector<float> progress;
        int32_t counter = 0;
        while ((progress.empty() || progress.back() != 1.0f) && progress.size() < 100) {
            progress.push_back((world.*stage)(counter));
        }
        return progress;
    }

    // The progress of every RunLoadStep until the world is loaded.
    std::vector<float> LoadWorld(const WideString& name)
    {
        Game().GetWorld().SetFileName(name);
        Game().ClearLoaded();
        std::vector<float> progress;
        while (!Game().IsLoaded() && progress.size() < 100) {
            progress.push_back(Game().RunLoadStep());
        }
        return progress;
    }
};
