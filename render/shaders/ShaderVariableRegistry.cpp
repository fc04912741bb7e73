#include "render/shaders/ShaderVariableRegistry.h"

#include <algorithm>
#include <vector>

namespace {

struct RegistryEntry {
    WideString name;
    int32_t id;
    int32_t useCount;
};

struct Registry {
    std::vector<RegistryEntry> entries;   // in the order names were first registered
    int32_t nextId = 0;
};

// Lives for the whole run, nothing resets it, and it is never destroyed:
// blocks held by static objects still give their names back after main.
Registry& TheRegistry()
{
    static Registry* registry = new Registry;
    return *registry;
}

WideString Normalise(const WideString& name)
{
    static const WideString kFirstElement = L"[0]";
    if (WideStringEndsWith(name, kFirstElement)) {
        return name.substr(0, name.size() - kFirstElement.size());
    }
    return name;
}

RegistryEntry& FindOrRegister(const WideString& name)
{
    Registry& registry = TheRegistry();
    const WideString normalised = Normalise(name);
    for (RegistryEntry& entry : registry.entries) {
        if (entry.name == normalised) {
            return entry;
        }
    }
    registry.entries.push_back({normalised, registry.nextId++, 1});
    return registry.entries.back();
}

std::vector<RegistryEntry>::iterator FindId(int32_t id)
{
    std::vector<RegistryEntry>& entries = TheRegistry().entries;
    return std::find_if(entries.begin(), entries.end(), [id](const RegistryEntry& entry) { return entry.id == id; });
}

} // namespace

int32_t GetShaderVariableId(const WideString& name)
{
    if (name.empty()) {
        return -1;
    }
    return FindOrRegister(name).id;
}

WideString GetShaderVariableName(int32_t id)
{
    auto entry = FindId(id);
    return entry != TheRegistry().entries.end() ? entry->name : WideString();
}

// A name registered here starts with two uses, so that in practice no entry
// ever goes and an id keeps naming the same variable.
int32_t AddShaderVariableUse(const WideString& name)
{
    RegistryEntry& entry = FindOrRegister(name);
    ++entry.useCount;
    return entry.id;
}

void ReleaseShaderVariableUse(int32_t id)
{
    auto entry = FindId(id);
    if (entry != TheRegistry().entries.end() && --entry->useCount <= 0) {
        TheRegistry().entries.erase(entry);
    }
}

int32_t GetShaderVariableUseCount(int32_t id)
{
    auto entry = FindId(id);
    return entry != TheRegistry().entries.end() ? entry->useCount : 0;
}
