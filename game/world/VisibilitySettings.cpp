#include "game/world/VisibilitySettings.h"

#include "engine/core/CommandLineSplit.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/MLP.h"
#include "game/world/GameModule.h"
#include "game/world/VisibilityManager.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>

namespace {

template <class Value>
class SettingCommand : public ConsoleCommand {
public:
    SettingCommand(const char* name, Value& value) : ConsoleCommand(name), value_(value) {}

    void Execute(const WideString& arguments) override
    {
        const double lowest = std::numeric_limits<Value>::lowest();
        const double highest = std::numeric_limits<Value>::max();
        value_ = static_cast<Value>(std::clamp(NumberArgument(arguments).value_or(0.0), lowest, highest));
    }

private:
    Value& value_;
};

// The compile, then the cache as compiled and the widened one the game reads.
class CompileCommand : public ConsoleCommand {
public:
    CompileCommand() : ConsoleCommand("VISCOMPILE") {}

    void Execute(const WideString&) override
    {
        GameModule* game = GameModule::Get();
        if (!game) {
            return;
        }
        VisibilityManager& visibility = game->GetWorld().GetVisibility();
        visibility.Compile();
        visibility.Save(VisibilityManager::kUnwidenedCacheFile, false);
        visibility.Save(VisibilityManager::kCacheFile, true);
    }
};

} // namespace

VisibilitySettings& TheVisibilitySettings()
{
    static VisibilitySettings settings;
    return settings;
}

void RegisterVisibilityCommands(MLP& module)
{
    if (module.HasCommand(L"SPLITCOUNT")) {
        return;
    }
    VisibilitySettings& settings = TheVisibilitySettings();
    // Kept for the whole run: the module's map does not own its commands.
    static const std::array<std::unique_ptr<ConsoleCommand>, 5> commands{
        std::make_unique<SettingCommand<int32_t>>("SPLITCOUNT", settings.splitCount),
        std::make_unique<SettingCommand<float>>("VIEWDISTANCE", settings.viewDistance),
        std::make_unique<SettingCommand<float>>("", settings.compileFov),
        std::make_unique<SettingCommand<float>>("OFFSETSCALE", settings.offsetScale),
        std::make_unique<CompileCommand>(),
    };
    for (const std::unique_ptr<ConsoleCommand>& command : commands) {
        module.AddCommand(command.get());
    }
}
