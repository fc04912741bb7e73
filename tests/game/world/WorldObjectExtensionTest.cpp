// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/world/dcDynamicObject.h"
#include "tests/game/world/RecordingExtension.h"
#include "tests/support/CapturingSink.h"

#include <map>
#include <memory>

namespace {

// Names starting with "p" pass on; the others end a chain.
struct Extensions {
    RecordingExtension& operator[](const std::string& name)
    {
        auto& extension = made[name];
        if (!extension) {
            extension = std::make_unique<RecordingExtension>(name, name[0] == 'p', journal);
        }
        return *extension;
    }

    std::vector<std::string> journal;
    std::map<std::string, std::unique_ptr<RecordingExtension>> made;
};

std::vector<std::string> Chain(const dcDynamicObject& object)
{
    std::vector<std::string> names;
    for (WorldObjectExtension* e = object.GetExtensions(); e && names.size() < 10; e = e->GetNext()) {
        names.push_back(static_cast<RecordingExtension*>(e)->GetName());
    }
    return names;
}

} // namespace

TEST(WorldObjectExtension, ChainsHoldExtensionsThatPassOnBeforeAtMostOneThatDoesNot)
{
    enum Refusal { kNone, kNormal, kVerbose };
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> chain;
        Refusal refusal;   // the level "Extension loop not possible!!" is logged at
    };
    for (const Case& c : std::initializer_list<Case>{
             {{"t"}, {"t"}, kNone},
             {{"t", "p"}, {"p", "t"}, kNone},
             {{"p", "t"}, {"p", "t"}, kNone},
             {{"p1", "p2"}, {"p1", "p2"}, kNone},
             {{"p1", "t", "p2"}, {"p1", "p2", "t"}, kNone},
             {{"t", "p1", "p2"}, {"p1", "p2", "t"}, kNone},
             // A second terminal one changes nothing.
             {{"t1", "t2"}, {"t1"}, kVerbose},
             {{"p", "t1", "t2"}, {"p", "t1"}, kNormal}}) {
        Extensions extensions;
        dcDynamicObject object;
        ScopedCapture normal(kLogError);
        ScopedCapture verbose(kLogVerbose);
        for (const std::string& name : c.added) {
            object.AddExtension(&extensions[name]);
        }
        const std::string trace = c.added.front() + " ... " + c.added.back();
        EXPECT_EQ(Chain(object), c.chain) << trace;
        const WideString refused = L"Extension loop not possible!!";
        EXPECT_EQ(normal->Count(refused), c.refusal == kNormal ? 1 : 0) << trace;
        EXPECT_EQ(verbose->Count(refused), c.refusal == kNone ? 0 : 1) << trace;
    }
}

TEST(WorldObjectExtension, AHitPreparesThenHitsEachExtensionFromTheHead)
{
    Extensions extensions;
    dcDynamicObject object;
    object.AddExtension(&extensions["t"]);
    object.AddExtension(&extensions["p"]);
    object.GetExtensions()->CallOnHit({1, 2, 3});
    EXPECT_EQ(extensions.journal, (std::vector<std::string>{"p:prepare", "p:hit", "t:prepare", "t:hit"}));
    EXPECT_EQ(extensions["t"].hitAt.y, 2.0f);
    extensions.journal.clear();
    object.GetExtensions()->CallOnVisible();
    EXPECT_EQ(extensions.journal, (std::vector<std::string>{"p:visible", "t:visible"}));
}
