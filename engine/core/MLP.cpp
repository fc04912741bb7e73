#include "engine/core/MLP.h"

#include "engine/core/ConsoleCommand.h"

MLP::MLP()
    : name_(L"Unknown MLP")
{
}

MLP::~MLP() = default;

void MLP::AddCommand(ConsoleCommand* command)
{
    commands_.emplace(command->GetName(), command);
    command->owner_ = this;
}

int32_t MLP::RemoveCommand(ConsoleCommand* command)
{
    // Only this command's own entry goes: a command registered earlier under
    // the same name keeps its place.
    command->owner_ = nullptr;
    auto found = commands_.find(command->GetName());
    if (found == commands_.end() || found->second != command) {
        return 0;
    }
    commands_.erase(found);
    return 1;
}

bool MLP::RunCommand(const WideString& name, const WideString& arguments)
{
    auto found = commands_.find(name);
    if (found == commands_.end()) {
        return false;
    }
    found->second->Execute(arguments);
    return true;
}
