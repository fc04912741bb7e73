#include "script/StartSide.h"

#include "script/DumpReader.h"
#include "script/DumpWriter.h"

namespace {

constexpr int32_t kStringCountBytes = 4;

} // namespace

void StartSide::Save(DumpWriter& out) const
{
    out.WriteInt32(SideIndex);
    out.WriteInt32(SideName);
    out.WriteInt32(static_cast<int32_t>(SideVehicles.size()));
    for (const WideString& vehicle : SideVehicles) {
        out.WriteString(vehicle);
    }
}

void StartSide::Load(DumpReader& in)
{
    SideIndex = in.ReadInt32();
    SideName = in.ReadInt32();
    SideVehicles.assign(in.ReadCount(kStringCountBytes), WideString());
    for (WideString& vehicle : SideVehicles) {
        in.ReadString(vehicle);
    }
}
