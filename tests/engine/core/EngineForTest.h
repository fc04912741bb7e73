#pragma once
// The process's one engine, lent to a test that runs in a scratch folder: on
// the test's clock, from a running time of 0, with a folder in place of its
// log file so that nothing stays open in the scratch folder, and handed back
// on the system's clocks.

#include "engine/core/Timer.h"
#include "engine/core/dcEngine.h"

#include <filesystem>

class EngineForTest {
public:
    explicit EngineForTest(TimeSource& clock = Timer::SystemTime())
    {
        std::filesystem::create_directory("Console.RTF");
        engine.GetTimer().SetSource(clock);
        engine.SetTime(0.0f);
    }
    ~EngineForTest() { engine.GetTimer().SetSource(Timer::SystemTime()); }
    EngineForTest(const EngineForTest&) = delete;
    EngineForTest& operator=(const EngineForTest&) = delete;

    dcEngine& engine = dcEngine::Instance();
};
