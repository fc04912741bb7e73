#pragma once
// Replaces the game's sky and its lighting with the sky folder it names
// ("Skies\<Sky>"), then fires its targets.

#include "script/dcTrigger.h"

class dcLoadSky : public dcTrigger {
    DC_RECEIVER(dcLoadSky, dcTrigger)
public:
    dcLoadSky();

    void Save(DumpWriter& out) override;
    void Load(DumpReader& in) override;

    WideString Sky;   // the folder's name under "Skies"

protected:
    virtual void OnTrigger(const dcTriggerMessage& message);
};
// handlers: dcTriggerMessage -> OnTrigger
