#include "engine/core/FrameMessages.h"
#include "game/world/GameMessages.h"

#include <gtest/gtest.h>

#include <cstddef>

// The game's entity messages stay in the process, and several carry
// pointers: their layouts are checked by the place of each field after the
// pointer, which is 4 bytes long in a 32-bit build and 8 in a 64-bit one.

namespace {

constexpr size_t kPointer = sizeof(void*);

constexpr size_t RoundedToPointers(size_t bytes)
{
    return (bytes + alignof(void*) - 1) / alignof(void*) * alignof(void*);
}

// A receiver that answers dcOrientation with its place.
class PlacedEntity : public MessageReceiver {
    DC_RECEIVER(PlacedEntity, MessageReceiver)
public:
    PlacedEntity() { Handles<dcOrientation, &PlacedEntity::OnOrientation>(); }

private:
    void OnOrientation(const dcOrientation& message) { message.position = {1.0f, 2.0f, 3.0f}; }
};

class QueryScene : public Scene {
public:
    QueryScene() { nextId_ = 3; }
    int32_t NewId() override { return nextId_++; }
};

} // namespace

TEST(GameMessages, PlainPayloadsHaveTheirFixedSizes)
{
    EXPECT_EQ(sizeof(dcGameReset), 1u);
    EXPECT_EQ(sizeof(dcInitAds), 1u);
    EXPECT_EQ(sizeof(dcUserInput), 4u);
    EXPECT_EQ(sizeof(dcUpdate), 4u);
    EXPECT_EQ(sizeof(dcFinalUpdate), 4u);
    EXPECT_EQ(sizeof(dcOrientation), 28u);
    EXPECT_EQ(offsetof(dcOrientation, orientation), 12u);
    EXPECT_EQ(sizeof(dcCamOrientation), 60u);
    EXPECT_EQ(offsetof(dcCamOrientation, anchor), 4u);
    EXPECT_EQ(offsetof(dcCamOrientation, body), 16u);
    EXPECT_EQ(offsetof(dcCamOrientation, view), 32u);
    EXPECT_EQ(offsetof(dcCamOrientation, motion), 48u);
}

TEST(GameMessages, PointerPayloadsPlaceTheirFieldsAfterThePointer)
{
    EXPECT_EQ(offsetof(dcVisTest, firstPass), kPointer);
    EXPECT_EQ(offsetof(dcVisTest, passCount), kPointer + 4);
    EXPECT_EQ(offsetof(dcVisTest, visible), kPointer + 8);
    EXPECT_EQ(offsetof(dcVisTest, wantsRender), kPointer + 9);
    EXPECT_EQ(sizeof(dcVisTest), RoundedToPointers(kPointer + 12));

    EXPECT_EQ(offsetof(dcRender, pass), kPointer);
    EXPECT_EQ(offsetof(dcRender, passBit), kPointer + 4);
    EXPECT_EQ(offsetof(dcRender, reserved), kPointer + 8);
    EXPECT_EQ(sizeof(dcRender), RoundedToPointers(kPointer + 12));

    EXPECT_EQ(sizeof(dcGetGeometry), kPointer);
}

TEST(GameMessages, NoneCrossesTheNetwork)
{
    for (int32_t identity :
         {dcGameReset::Identity().Id(), dcVisTest::Identity().Id(), dcOrientation::Identity().Id(),
          dcCamOrientation::Identity().Id(), dcGetGeometry::Identity().Id(), dcInitAds::Identity().Id()}) {
        EXPECT_TRUE(IsLocalOnlyMessage(identity)) << identity;
    }
}

TEST(GameMessages, AQueryNobodyAnswersKeepsItsInitialValues)
{
    QueryScene scene;
    PlacedEntity placed;
    scene.Add(&placed);

    dcOrientation unanswered;
    EXPECT_EQ(SendToEntity(scene, 0, unanswered), 0);
    EXPECT_EQ(SendToEntity(scene, placed.GetId() + 1, unanswered), 0);
    EXPECT_EQ(unanswered.position.x, 0.0f);
    EXPECT_EQ(unanswered.orientation.w, 1.0f);

    dcGetGeometry notHandled;
    EXPECT_EQ(SendToEntity(scene, placed.GetId(), notHandled), 0);
    EXPECT_EQ(notHandled.geometry, nullptr);

    dcOrientation answered;
    EXPECT_EQ(SendToEntity(scene, placed.GetId(), answered), 1);
    EXPECT_EQ(answered.position.y, 2.0f);
    scene.Remove(&placed);
}
