#include "render/models/Animation.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "engine/math/Matrix44.h"
#include "render/models/ModelFileReading.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The first int32 after the magic in layout A, and the version field of layout B.
constexpr int32_t kDcaVersion = 0x100000;
constexpr int32_t kTextBytes = 4;                 // an empty text: its length alone
constexpr int32_t kMatrixBytes = 64;              // layout A track key: 16 floats
constexpr int32_t kTrackKeyBytes = 28;            // layout B track key: position and rotation
constexpr int32_t kLayoutBTrackExtraBytes = 28;   // after each layout B track name, not interpreted

// Bytes of one key with this many track keys of keyBytes each; large enough
// to refuse any key count when it exceeds what a stream can hold.
int32_t KeyRecordBytes(int32_t tracks, int32_t keyBytes)
{
    const int64_t bytes = 4 + static_cast<int64_t>(tracks) * keyBytes;
    return static_cast<int32_t>(std::min<int64_t>(bytes, INT32_MAX));
}

} // namespace

Animation::Animation(const WideString& fileName, bool reportFailure)
{
    WideString dcaName;
    FormatWideString(dcaName, "%s.DCA",
                     WideStringSubstr(fileName, 0, std::max(WideStringTextLength(fileName) - 4, 0)).c_str());
    if (!FileExists(dcaName)) {
        return;
    }
    std::unique_ptr<Stream> in = OpenFile(dcaName);
    if (!Load(*in, fileName, reportFailure)) {
        trackNames_.clear();
        keys_.clear();
        fullLength_ = 0.0f;
        loopLength_ = 0.0f;
    }
}

bool Animation::Load(Stream& in, const WideString& fileName, bool reportFailure)
{
    if (in.GetSize() < kMinimumModelFileSize) {
        if (reportFailure) {
            LogHub::Printf("Failed loading animation %s", fileName.c_str());
        }
        return false;
    }
    if (!ReadDc2Magic(in)) {
        LogHub::Printf("%s is NOT a DCA File", fileName.c_str());
        return false;
    }
    if (in.ReadInt32() == kDcaVersion) {
        if (!ReadTracksA(in) || !ReadKeysA(in)) {
            return false;
        }
        SumLengths();
        return CheckKeys(in);
    }
    if (in.ReadInt32() != kDcaVersion) {
        LogHub::Printf("%s is NOT a DCA File", fileName.c_str());
        return false;
    }
    in.ReadInt32();
    const float fullLength = in.ReadFloat();
    in.ReadFloat();
    if (!ReadTracksB(in) || !ReadKeysB(in)) {
        return false;
    }
    SumLengths();
    fullLength_ = fullLength;
    return CheckKeys(in);
}

bool Animation::ReadTracksA(Stream& in)
{
    trackNames_.resize(in.ReadCount(kTextBytes));
    for (WideString& name : trackNames_) {
        name = in.ReadText();
    }
    return !in.HasErrors();
}

bool Animation::ReadKeysA(Stream& in)
{
    const int32_t tracks = GetTrackCount();
    keys_.resize(in.ReadCount(KeyRecordBytes(tracks, kMatrixBytes)));
    for (AnimationKey& key : keys_) {
        key.duration = in.ReadFloat();
        key.trackKeys.resize(tracks);
        for (TrackKey& trackKey : key.trackKeys) {
            Matrix44 m;
            for (auto& row : m.m) {
                for (float& element : row) {
                    element = in.ReadFloat();
                }
            }
            trackKey.rotation = Quaternion::FromMatrix(m);
            trackKey.position = m.GetRow(3);
        }
    }
    return !in.HasErrors();
}

bool Animation::ReadTracksB(Stream& in)
{
    trackNames_.resize(in.ReadCount(kTextBytes + kLayoutBTrackExtraBytes));
    for (WideString& name : trackNames_) {
        name = in.ReadText();
        in.Skip(kLayoutBTrackExtraBytes);
    }
    return !in.HasErrors();
}

bool Animation::ReadKeysB(Stream& in)
{
    const int32_t tracks = GetTrackCount();
    keys_.resize(in.ReadCount(KeyRecordBytes(tracks, kTrackKeyBytes)));
    for (AnimationKey& key : keys_) {
        key.duration = in.ReadFloat();
        key.trackKeys.resize(tracks);
        for (TrackKey& trackKey : key.trackKeys) {
            trackKey.position = ReadVec3(in);
            trackKey.rotation = ReadQuaternion(in);
        }
    }
    return !in.HasErrors();
}

// Sampling divides by each key's duration and the layers step from key to
// key by it, so an animation needs keys, each of some length.
bool Animation::CheckKeys(Stream& in)
{
    const bool durationsValid = std::all_of(keys_.begin(), keys_.end(), [](const AnimationKey& key) {
        return key.duration > 0.0f && std::isfinite(key.duration);
    });
    if (keys_.empty() || !durationsValid || in.HasErrors()) {
        in.ReportErrors();
        return false;
    }
    return true;
}

void Animation::SumLengths()
{
    fullLength_ = 0.0f;
    loopLength_ = 0.0f;
    for (size_t key = 0; key < keys_.size(); ++key) {
        fullLength_ += keys_[key].duration;
        if (key + 1 < keys_.size()) {
            loopLength_ += keys_[key].duration;
        }
    }
}

int32_t Animation::FindTrack(const WideString& name) const
{
    for (int32_t track = 0; track < GetTrackCount(); ++track) {
        if (WideStringEquals(trackNames_[track], name)) {
            return track;
        }
    }
    return -1;
}

void Animation::SampleKey(int32_t track, int32_t key, float time, Vec3& position, Quaternion& rotation,
                          bool looping) const
{
    const int32_t keyCount = GetKeyCount();
    const TrackKey& from = keys_[key].trackKeys[track];
    int32_t next = key;
    if (looping) {
        next = (key + 1) % keyCount;
    } else if (key + 1 < keyCount) {
        next = key + 1;
    }
    const TrackKey& to = keys_[next].trackKeys[track];
    const float t = time / keys_[key].duration;
    position = LerpVec3(from.position, to.position, t);
    rotation = Quaternion::Slerp(from.rotation, to.rotation, t);
}

void Animation::GetTrackEndPositions(int32_t track, Vec3& first, Vec3& last) const
{
    if (keys_.empty()) {
        first = kZeroVector;
        last = kZeroVector;
        return;
    }
    first = keys_.front().trackKeys[track].position;
    last = keys_.back().trackKeys[track].position;
}
