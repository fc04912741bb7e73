// Our own component: it holds no items, so every lookup falls back as the
// callers expect.

#include "platform/dfengine/DFEngine.h"

namespace {

class StandInDFEngine final : public DFEngine {
public:
    int32_t Init(int32_t, const char*) override { return 0; }
    void Shutdown() override { delete this; }
    int32_t GetItem(const char*, DFEngineItem**) override { return -1; }
    void ReleaseItem(DFEngineItem*) override {}
    void PreShutdown(int32_t) override {}
    void Update(float) override {}
    void EnterZone(const char*) override {}
    void PreEnterZone(int32_t, float) override {}
};

} // namespace

extern "C" __declspec(dllexport) DFEngine* CreateDFEngine()
{
    return new StandInDFEngine;
}
