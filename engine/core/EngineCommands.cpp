#include "engine/core/EngineCommands.h"

#include "engine/core/CommandLineSplit.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>

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

// "0" to "2" choose their level; anything else is the most talkative one,
// and the player is told unless they asked for it.
void SetWarningLevel(const WideString& arguments)
{
    const WideString trimmed = WideStringTrimLeft(arguments);
    const wchar_t first = trimmed.empty() ? L'\0' : trimmed[0];
    if (first >= L'0' && first <= L'2') {
        LogHub::Instance().SetLevel(first - L'0');
        return;
    }
    LogHub::Instance().SetLevel(kLogVerbose);
    if (first != L'3') {
        LogHub::Printf("SETWARNINGLEVEL takes a level from 0 to 3; it is now %d", kLogVerbose);
    }
}

// A setting the engine keeps within its limits. Text without a number reads
// as 0; when the engine could not take the value as typed, the player is told
// what it became.
struct NumberSetting {
    const char* usage;   // a format taking the lowest and highest values and the value set
    float lowest;
    float highest;
    void (dcEngine::*set)(float);
    float (dcEngine::*get)() const;
};

EngineCommand::Action SetNumber(NumberSetting setting)
{
    return [setting](dcEngine& engine, const WideString& arguments) {
        const std::optional<double> number = NumberArgument(arguments);
        // Beyond a float's range the number is as good as its largest value.
        constexpr double kLargest = std::numeric_limits<float>::max();
        const float wanted = static_cast<float>(std::clamp(number.value_or(0.0), -kLargest, kLargest));
        (engine.*setting.set)(wanted);
        const float value = (engine.*setting.get)();
        if (!number || value != wanted) {
            LogHub::Printf(setting.usage, static_cast<double>(setting.lowest), static_cast<double>(setting.highest),
                           static_cast<double>(value));
        }
    };
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
        {"SETWARNINGLEVEL", [](dcEngine&, const WideString& a) { SetWarningLevel(a); }},
        {"T", SetNumber({"T takes a time scale from %g to %g; it is now %g", dcEngine::kMinimumTimeScale,
                         dcEngine::kMaximumTimeScale, &dcEngine::SetTimeScale, &dcEngine::GetTimeScale})},
        {"PRINTMLPSTACK", [](dcEngine& e, const WideString&) { e.GetModules().Print(); }},
        {"WIREFRAME",
         [](dcEngine& e, const WideString& a) {
             if (VideoDevice* video = e.GetVideoDevice()) {
                 video->SetWireframe(ApplyFlagArgument(a, video->IsWireframe()));
             }
         }},
        {"MEMREPORT", [](dcEngine&, const WideString&) {}},
        {"SLEEPTIME",
         SetNumber({"SLEEPTIME takes seconds from %g to %g, or a negative number for none; it is now %g", 0.0f,
                    dcEngine::kLongestSleep, &dcEngine::SetSleepTime, &dcEngine::GetSleepTime})},
    };
    std::vector<std::unique_ptr<ConsoleCommand>> commands;
    for (const Entry& entry : entries) {
        commands.push_back(std::make_unique<EngineCommand>(entry.name, engine, entry.action));
    }
    return commands;
}
