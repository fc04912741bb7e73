#pragma once
// Counts the calls the renderer makes into one Direct3D device and its
// buffers, and the processor ticks spent inside them, so that a frame's time
// splits into our own code and Wine's Direct3D with the software rasteriser
// behind it. Each metered object gets a copy of its method table in which
// the state-setting, drawing and locking methods count and time the call
// around the real one; the objects behave as before. The tables are put
// back when the meter goes, which must be before the device goes.

#include "bench/support/FrameTiming.h"

#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <intrin.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace direct3d_meter {

enum Kind { kDraw, kState, kLock, kKinds };

} // namespace direct3d_meter

// Calls and the processor ticks spent inside them, by kind: draws; states,
// textures, programs, constants, streams, indices, layouts and transforms;
// buffer locks and unlocks.
struct Direct3DTally {
    int64_t calls[direct3d_meter::kKinds] = {};
    uint64_t ticks[direct3d_meter::kKinds] = {};

    uint64_t AllTicks() const
    {
        return ticks[direct3d_meter::kDraw] + ticks[direct3d_meter::kState] + ticks[direct3d_meter::kLock];
    }
};

namespace direct3d_meter {

// One meter at a time: the methods of every metered object count here.
inline Direct3DTally& Tally()
{
    static Direct3DTally tally;
    return tally;
}

// The real method behind a slot of an interface's table, shared by every
// object of that interface.
template <typename Interface, int Slot>
void*& RealMethod()
{
    static void* method = nullptr;
    return method;
}

// Every metered method returns an HRESULT.
template <typename Interface, int Slot, Kind kind, typename... Args>
HRESULT STDMETHODCALLTYPE Metered(Interface* self, Args... args)
{
    using Method = HRESULT(STDMETHODCALLTYPE*)(Interface*, Args...);
    const uint64_t start = __rdtsc();
    const HRESULT result = reinterpret_cast<Method>(RealMethod<Interface, Slot>())(self, args...);
    Direct3DTally& tally = Tally();
    tally.ticks[kind] += __rdtsc() - start;
    ++tally.calls[kind];
    return result;
}

// A slot and the metered method that takes its place.
struct Replacement {
    int slot;
    void* method;
    void*& real;
};

template <typename Interface, int Slot, Kind kind, typename... Args>
Replacement Meter()
{
    return {Slot, reinterpret_cast<void*>(&Metered<Interface, Slot, kind, Args...>),
            RealMethod<Interface, Slot>()};
}

// Slots in the order d3d9.h declares the methods, IUnknown's three first.
constexpr int kDeviceMethods = 119;
constexpr int kBufferMethods = 14;

inline std::vector<Replacement> DeviceReplacements()
{
    using D = IDirect3DDevice9;
    return {
        Meter<D, 44, kState, D3DTRANSFORMSTATETYPE, const D3DMATRIX*>(),   // SetTransform
        Meter<D, 57, kState, D3DRENDERSTATETYPE, DWORD>(),                 // SetRenderState
        Meter<D, 65, kState, DWORD, IDirect3DBaseTexture9*>(),             // SetTexture
        Meter<D, 67, kState, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD>(),    // SetTextureStageState
        Meter<D, 69, kState, DWORD, D3DSAMPLERSTATETYPE, DWORD>(),         // SetSamplerState
        Meter<D, 77, kState, BOOL>(),                                      // SetSoftwareVertexProcessing
        Meter<D, 81, kDraw, D3DPRIMITIVETYPE, UINT, UINT>(),               // DrawPrimitive
        Meter<D, 82, kDraw, D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT>(),   // DrawIndexedPrimitive
        Meter<D, 83, kDraw, D3DPRIMITIVETYPE, UINT, const void*, UINT>(),  // DrawPrimitiveUP
        Meter<D, 87, kState, IDirect3DVertexDeclaration9*>(),              // SetVertexDeclaration
        Meter<D, 92, kState, IDirect3DVertexShader9*>(),                   // SetVertexShader
        Meter<D, 94, kState, UINT, const float*, UINT>(),                  // SetVertexShaderConstantF
        Meter<D, 100, kState, UINT, IDirect3DVertexBuffer9*, UINT, UINT>(),   // SetStreamSource
        Meter<D, 104, kState, IDirect3DIndexBuffer9*>(),                   // SetIndices
        Meter<D, 107, kState, IDirect3DPixelShader9*>(),                   // SetPixelShader
        Meter<D, 109, kState, UINT, const float*, UINT>(),                 // SetPixelShaderConstantF
    };
}

template <typename Buffer>
std::vector<Replacement> BufferReplacements()
{
    return {
        Meter<Buffer, 11, kLock, UINT, UINT, void**, DWORD>(),   // Lock
        Meter<Buffer, 12, kLock>(),                              // Unlock
    };
}

// The object's own copy of its method table, with the replacements in it.
class MethodTableCopy {
public:
    MethodTableCopy(IUnknown* object, int methodCount, const std::vector<Replacement>& replacements)
        : object_(reinterpret_cast<void***>(object))
        , real_(*object_)
        , copy_(real_, real_ + methodCount)
    {
        for (const Replacement& replacement : replacements) {
            replacement.real = real_[replacement.slot];
            copy_[replacement.slot] = replacement.method;
        }
        *object_ = copy_.data();
    }
    ~MethodTableCopy() { *object_ = real_; }
    MethodTableCopy(const MethodTableCopy&) = delete;
    MethodTableCopy& operator=(const MethodTableCopy&) = delete;

private:
    void*** object_;
    void** real_;
    std::vector<void*> copy_;
};

} // namespace direct3d_meter

class Direct3DMeter {
public:
    explicit Direct3DMeter(IDirect3DDevice9* device)
    {
        tables_.emplace_back(new direct3d_meter::MethodTableCopy(device, direct3d_meter::kDeviceMethods,
                                                                 direct3d_meter::DeviceReplacements()));
    }

    void AddBuffer(IDirect3DVertexBuffer9* buffer) { AddBufferOf(buffer); }
    void AddBuffer(IDirect3DIndexBuffer9* buffer) { AddBufferOf(buffer); }

    // Starts the tally, and the clock that turns its ticks into seconds, over.
    void Reset()
    {
        direct3d_meter::Tally() = {};
        startSeconds_ = SecondsNow();
        startTicks_ = __rdtsc();
    }

    const Direct3DTally& Tally() const { return direct3d_meter::Tally(); }

    // Processor ticks in seconds, by the rate they went at since Reset.
    double Seconds(uint64_t ticks) const
    {
        const uint64_t ticksSinceReset = __rdtsc() - startTicks_;
        const double secondsSinceReset = SecondsNow() - startSeconds_;
        return ticksSinceReset > 0
                   ? static_cast<double>(ticks) * secondsSinceReset / static_cast<double>(ticksSinceReset)
                   : 0.0;
    }

private:
    // Metered twice, a buffer's metered methods would call themselves.
    template <typename Buffer>
    void AddBufferOf(Buffer* buffer)
    {
        if (buffer && std::find(buffers_.begin(), buffers_.end(), buffer) == buffers_.end()) {
            buffers_.push_back(buffer);
            tables_.emplace_back(new direct3d_meter::MethodTableCopy(
                buffer, direct3d_meter::kBufferMethods, direct3d_meter::BufferReplacements<Buffer>()));
        }
    }

    std::vector<std::unique_ptr<direct3d_meter::MethodTableCopy>> tables_;
    std::vector<const void*> buffers_;
    double startSeconds_ = 0.0;
    uint64_t startTicks_ = 0;
};

// One timed frame: the seconds until its work was handed to the device, and
// the ticks of those spent inside Direct3D.
struct HandOver {
    double seconds;
    uint64_t ticksInside;
};

// Each benchmark iteration one frame: frame() runs it and answers its
// seconds until the hand-over; the meter starts afresh first.
template <class Frame>
std::vector<HandOver> TimeFrames(benchmark::State& state, Direct3DMeter& meter, Frame frame)
{
    meter.Reset();
    std::vector<HandOver> frames;
    for (auto _ : state) {
        const uint64_t before = meter.Tally().AllTicks();
        const double seconds = frame();
        frames.push_back({seconds, meter.Tally().AllTicks() - before});
    }
    return frames;
}

// Our own code's seconds in each frame, the time inside Direct3D taken out;
// fastest first.
inline std::vector<double> OwnSeconds(const Direct3DMeter& meter, const std::vector<HandOver>& frames)
{
    std::vector<double> ours;
    for (const HandOver& frame : frames) {
        ours.push_back(frame.seconds - meter.Seconds(frame.ticksInside));
    }
    std::sort(ours.begin(), ours.end());
    return ours;
}
