#include "engine/core/ClassIdentity.h"
#include "engine/core/EngineMessages.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/IdentityRoster.h"
#include "engine/core/MessageReceiver.h"
#include "engine/net/NetMessages.h"
#include "engine/net/ServerMessage.h"
#include "engine/physics/PhysicsMessages.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

// A message and a variant that borrows its identity.
struct dcTrafficCar {
    DC_MESSAGE(dcTrafficCar)
    int32_t lane;
};

struct dcTrafficCar_S {
    DC_BORROWED_IDENTITY(dcTrafficCar_S, dcTrafficCar)
    int32_t lane;
};

class TrafficListener : public MessageReceiver {
    DC_RECEIVER(TrafficListener, MessageReceiver)
public:
    TrafficListener() { Handles<dcTrafficCar, &TrafficListener::OnTrafficCar>(); }
    int32_t lastLane = -1;

private:
    void OnTrafficCar(const dcTrafficCar& message) { lastLane = message.lane; }
};

// A runtime node and the editor node that saves it.
class dcStartTrigger : public MessageReceiver {
    DC_RECEIVER(dcStartTrigger, MessageReceiver)
};

class dcEditMission : public dcStartTrigger {
    DC_BORROWING_RECEIVER(dcEditMission, dcStartTrigger, dcStartTrigger)
};

} // namespace

TEST(BorrowedIdentity, LookupsByIdentityTakeTheRecordForItsOwner)
{
    TrafficListener listener;
    const dcTrafficCar_S variant{3};
    EXPECT_TRUE(listener.HandlesMessage(dcTrafficCar_S::Identity().Id()));
    EXPECT_EQ(listener.HandleMessage(dcTrafficCar_S::Identity().Id(), &variant, sizeof variant, 0), 1);
    EXPECT_EQ(listener.lastLane, 3);
    EXPECT_EQ(dcTrafficCar_S::Identity().Name(), L"dcTrafficCar_S");
}

TEST(BorrowedIdentity, AnEditorNodeReportsItsOwnNameAndTheRuntimeIdentity)
{
    dcEditMission node;
    const MessageReceiver& receiver = node;
    EXPECT_EQ(receiver.GetClassName(), L"dcEditMission");
    EXPECT_EQ(receiver.GetClassID(), dcStartTrigger::Identity().Id());
    EXPECT_EQ(receiver.GetClassID(), HashClassName("dcStartTrigger"));
}

// Identities are written into mission files and sent between peers: every
// name the roster hashes has an identity of its own, and all are positive.
TEST(IdentityRoster, EveryHashedNameHasItsOwnPositiveIdentity)
{
    std::map<int32_t, std::string_view> owners;
    std::vector<std::string_view> hashed(std::begin(kOwnNameRecords), std::end(kOwnNameRecords));
    hashed.insert(hashed.end(), std::begin(kBareIdentities), std::end(kBareIdentities));
    for (std::string_view name : hashed) {
        const int32_t identity = HashClassName(std::string(name).c_str());
        EXPECT_GT(identity, 0) << name;
        const auto [entry, added] = owners.emplace(identity, name);
        EXPECT_TRUE(added) << name << " has the identity of " << entry->second;
    }
}

// No two records share a name, a bare identity has no record, and a record
// borrows only the identity of a record that carries its own.
TEST(IdentityRoster, RecordNamesAreUniqueAndBorrowOnlyFromOwnRecords)
{
    const std::set<std::string_view> ownNames(std::begin(kOwnNameRecords), std::end(kOwnNameRecords));
    std::set<std::string_view> recordNames = ownNames;
    for (const BorrowedIdentity& borrowed : kBorrowedIdentities) {
        EXPECT_TRUE(recordNames.insert(borrowed.record).second) << borrowed.record;
        EXPECT_TRUE(ownNames.count(borrowed.owner)) << borrowed.record << " borrows from " << borrowed.owner;
    }
    for (std::string_view bare : kBareIdentities) {
        EXPECT_FALSE(recordNames.count(bare)) << bare;
    }
}

// The engine's own records are the roster's: each carries the identity the
// roster gives its name, computed again here.
TEST(IdentityRoster, TheEnginesRecordsCarryTheRosterIdentities)
{
    const std::set<std::string_view> recordNames(std::begin(kOwnNameRecords), std::end(kOwnNameRecords));
    for (const ClassIdentity& record :
         {dcServerMessage::Identity(), dcConnectMessage::Identity(), dcDisconnectMessage::Identity(),
          dcCollisionCull::Identity(), dcCollision::Identity(), dcContact::Identity(), dcTriangleContact::Identity(),
          dcPhysicsForce::Identity(), dcSceneAdd::Identity(), dcSceneDel::Identity(), dcUserInput::Identity(),
          dcUpdate::Identity(), dcFinalUpdate::Identity(), dcRender::Identity()}) {
        const std::string name = WideStringToNarrow(record.Name());
        EXPECT_TRUE(recordNames.count(name)) << name << " is no record of the roster";
        EXPECT_EQ(record.Id(), HashClassName(std::string(RosterIdentityOf(name)).c_str())) << name;
    }
}
