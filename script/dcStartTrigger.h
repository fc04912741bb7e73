#pragma once
// The root of every mission: it carries what the menus and the lobby show of
// the mission, and when fired it passes control to its links, optionally
// holding the world still behind the start screen's images until a key is
// pressed. It fires even while disabled, and never replicates: every peer
// starts its own copy of the mission.

#include "engine/core/FrameMessages.h"
#include "script/StartSide.h"
#include "script/dcTrigger.h"

#include <cstdint>
#include <vector>

class dcStartTrigger : public dcTrigger {
    DC_RECEIVER(dcStartTrigger, dcTrigger)
public:
    // The editor revisions from which each group of settings is stored.
    static constexpr int32_t kDescriptionRevision = 13;
    static constexpr int32_t kSidesRevision = 18;
    static constexpr int32_t kPauseRevision = 20;
    // The pass in which the world fades behind the start screen.
    static constexpr int32_t kHoldPass = 29;

    dcStartTrigger();

    // Without full load only the settings are read, not the links.
    void Save(DumpWriter& out) override;
    void Load(DumpReader& in) override;

    uint8_t PauseOnStart = 0;   // firing holds the world behind the linked screen images
    uint8_t AllowStart = 0;     // loading the mission records it as reached
    int32_t Name = 0;           // language keys of the title and the description
    int32_t Description = 0;
    WideString InternalName;
    WideString ImageName;       // the mission's picture in the menus
    uint8_t Multiplay = 0;      // offered by the lobby
    std::vector<StartSide> Sides;

protected:
    virtual void OnTrigger(const dcTriggerMessage& message);
    virtual void OnRender(const dcRender& message);

private:
    void HoldBehindImages();
};
// handlers: dcTriggerMessage -> OnTrigger, dcRender -> OnRender
