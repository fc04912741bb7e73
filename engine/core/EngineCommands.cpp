#include "engine/core/EngineCommands.h"

#include "engine/core/CommandLineSplit.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "render/device/VideoDevice.h"

#include <functional>

namespace {

// A command whose work is a small function of the engine and the arguments.
class EngineCommand : public ConsoleCommand {
public:
    using Action = std::function<void(dcEngine&, const WideString&)>;

    EngineCommand(const char* name, dcEngine& engine, Action action)
        : ConsoleCommand(name), engine_(engine), action_(std::move(action))
    {
    }
    void Execute(const WideString& arguments) override { action_(engine_, arguments); }

private:
    dcEngine& engine_;
    Action action_;
};

// Switches one line of the statistics overlay.
EngineCommand::Action StatisticsLine(int32_t flag)
{
    return [flag](dcEngine& engine, const WideString& arguments) {
        engine.SetEngineFlag(flag, ApplyFlagArgument(arguments, engine.HasEngineFlag(flag)));
    };
}

int32_t WarningLevel(const WideString& arguments)
{
    const WideString trimmed = WideStringTrimLeft(arguments);
    if (!trimmed.empty() && trimmed[0] >= L'0' && trimmed[0] <= L'2') {
        return trimmed[0] - L'0';
    }
    return kLogVerbose;
}

} // namespace

std::vector<std::unique_ptr<ConsoleCommand>> MakeEngineCommands(dcEngine& engine)
{
    struct Entry {
        const char* name;
        EngineCommand::Action action;
    };
    const Entry entries[] = {
        {"EXIT", [](dcEngine& e, const WideString&) { e.Stop(); }},
        {"FPS", StatisticsLine(dcEngine::kShowFrameRate)},
        {"POLY", StatisticsLine(dcEngine::kShowPrimitives)},
        {"VERTEX", StatisticsLine(dcEngine::kShowVertices)},
        {"RENDERCALL", StatisticsLine(dcEngine::kShowDrawCalls)},
        {"SHADERVAR", StatisticsLine(dcEngine::kShowConstantUploads)},
        {"SHADERVARIGNORE", StatisticsLine(dcEngine::kShowSkippedConstants)},
        {"TEXSWITCH", StatisticsLine(dcEngine::kShowTextureSwitches)},
        {"SETWARNINGLEVEL", [](dcEngine&, const WideString& a) { LogHub::Instance().SetLevel(WarningLevel(a)); }},
        {"T", [](dcEngine& e, const WideString& a) { e.SetTimeScale(NumberArgument(a)); }},
        {"PRINTMLPSTACK", [](dcEngine& e, const WideString&) { e.GetModules().Print(); }},
        {"WIREFRAME",
         [](dcEngine& e, const WideString& a) {
             if (VideoDevice* video = e.GetVideoDevice()) {
                 video->SetWireframe(ApplyFlagArgument(a, video->IsWireframe()));
             }
         }},
        {"MEMREPORT", [](dcEngine&, const WideString&) {}},
        {"SLEEPTIME", [](dcEngine& e, const WideString& a) { e.SetSleepTime(NumberArgument(a)); }},
    };
    std::vector<std::unique_ptr<ConsoleCommand>> commands;
    for (const Entry& entry : entries) {
        commands.push_back(std::make_unique<EngineCommand>(entry.name, engine, entry.action));
    }
    return commands;
}
