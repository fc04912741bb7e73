#include "script/dcLoadSky.h"

#include "game/world/GameModule.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"

dcLoadSky::dcLoadSky()
{
    Handles<dcTriggerMessage, &dcLoadSky::OnTrigger>();
}

void dcLoadSky::Save(DumpWriter& out)
{
    out.WriteString(Sky);
    dcTrigger::Save(out);
}

void dcLoadSky::Load(DumpReader& in)
{
    in.ReadString(Sky);
    dcTrigger::Load(in);
}

void dcLoadSky::OnTrigger(const dcTriggerMessage& message)
{
    if (!IsEnabled()) {
        return;
    }
    ReplicateTrigger(GetId(), message.sender);
    if (GameModule* game = GameModule::Get()) {
        game->GetWorld().LoadSky(L"Skies\\" + Sky);
    }
    FireOwnTargets();
}
