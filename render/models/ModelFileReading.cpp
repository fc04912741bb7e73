#include "render/models/ModelFileReading.h"

#include "engine/core/LogHub.h"
#include "engine/files/Stream.h"

bool ReadDc2Magic(Stream& in)
{
    char magic[3] = {};
    return in.Read(magic, 3) == 3 && magic[0] == 'D' && magic[1] == 'C' && magic[2] == '2';
}

bool ReadModelFileHeader(Stream& in, int32_t kind, const wchar_t* kindName, int32_t& version)
{
    if (in.GetSize() < kMinimumModelFileSize || !ReadDc2Magic(in)) {
        LogHub::PrintError("%s is not a valid %s", in.GetName().c_str(), kindName);
        return false;
    }
    in.ReadInt32();
    if (in.ReadInt32() != kind) {
        LogHub::PrintError("%s is not a %s", in.GetName().c_str(), kindName);
        return false;
    }
    version = in.ReadInt32();
    return true;
}

Vec3 ReadVec3(Stream& in)
{
    const float x = in.ReadFloat();
    const float y = in.ReadFloat();
    const float z = in.ReadFloat();
    return {x, y, z};
}

Quaternion ReadQuaternion(Stream& in)
{
    Quaternion q;
    q.x = in.ReadFloat();
    q.y = in.ReadFloat();
    q.z = in.ReadFloat();
    q.w = in.ReadFloat();
    return q;
}
