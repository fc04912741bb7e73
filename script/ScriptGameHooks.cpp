#include "script/ScriptGameHooks.h"

namespace {

ScriptGameHooks* installedHooks = nullptr;

} // namespace

ScriptGameHooks* GetScriptGameHooks()
{
    return installedHooks;
}

void SetScriptGameHooks(ScriptGameHooks* hooks)
{
    installedHooks = hooks;
}
