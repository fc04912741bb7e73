#pragma once
// An object that asks the hardware whether any pixel of a test drawing (a
// cheap stand-in such as a box) passed the depth test. The device lends it a
// Direct3D query, polls once per presented frame and hands the answer over
// later through OnResult; no frame waits for it.

#include <d3d9.h>

#include <cstdint>

class D3D9Video;
class VideoDevice;

class OcclusionQuery {
public:
    OcclusionQuery() = default;
    // Users give the query back (ReleaseQuery) before they go.
    virtual ~OcclusionQuery() = default;
    OcclusionQuery(const OcclusionQuery&) = delete;
    OcclusionQuery& operator=(const OcclusionQuery&) = delete;

    // Bracket the test drawing; nothing happens without a query.
    void Begin();
    void End();

    // occluded: no pixel passed. Derived objects keep the answer.
    virtual void OnResult(bool occluded) = 0;

    VideoDevice* GetDevice() const { return device_; }
    bool HasQuery() const { return query_ != nullptr; }
    // Between End and the arrival of the answer.
    bool IsPending() const { return pending_; }
    bool IsOccluded() const { return occluded_; }
    int32_t GetCountdown() const { return countdown_; }

protected:
    void SetOccluded(bool occluded) { occluded_ = occluded; }
    // Polls to wait before trusting the answer again; every poll lowers it
    // by one, never below 0.
    void SetCountdown(int32_t polls) { countdown_ = polls; }

private:
    friend class D3D9Video;

    VideoDevice* device_ = nullptr;
    IDirect3DQuery9* query_ = nullptr;
    bool pending_ = false;
    bool occluded_ = false;
    int32_t countdown_ = 0;
};
