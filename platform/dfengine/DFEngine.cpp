// Our own component: it keeps the folder it was given, counts frames and
// zones, and holds no items, so every lookup falls back as the callers expect.

#include "platform/dfengine/DFEngine.h"

#include <string>

namespace {

class StandInDFEngine final : public DFEngine {
public:
    int32_t Init(int32_t version, const char* folder) override
    {
        version_ = version;
        folder_ = folder ? folder : "";
        return 0;
    }
    void Shutdown() override { delete this; }
    int32_t GetItem(const char*, DFEngineItem**) override { return -1; }
    void ReleaseItem(DFEngineItem*) override {}
    void PreShutdown(int32_t) override {}
    void Update(float frameTime) override { runningTime_ += frameTime; }
    void EnterZone(const char* zone) override { zone_ = zone ? zone : ""; }
    void PreEnterZone(int32_t, float) override {}

private:
    int32_t version_ = 0;
    std::string folder_;
    std::string zone_;
    float runningTime_ = 0.0f;
};

} // namespace

extern "C" __declspec(dllexport) DFEngine* CreateDFEngine()
{
    return new StandInDFEngine;
}
