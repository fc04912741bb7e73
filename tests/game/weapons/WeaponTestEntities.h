#pragma once
// Scene members for the weapons' tests: an entity that answers (and
// records) only the listed messages, and an entity with a pose that it tells
// whoever asks (dcOrientation, dcTargetMessage) and that records every other
// message it is handed.

#include "tests/game/GameTestSupport.h"

#include "game/weapons/TargetMessage.h"
#include "game/world/GameMessages.h"

class AnsweringEntity : public RecordingEntity {
public:
    explicit AnsweringEntity(std::vector<int32_t> answered) : RecordingEntity(std::move(answered)) {}

    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override
    {
        return HandlesMessage(identity) ? RecordingEntity::HandleMessage(identity, payload, size, connection) : 0;
    }
};

class PosedEntity : public RecordingEntity {
public:
    int32_t HandleMessage(int32_t identity, const void* payload, int32_t size, int32_t connection) override
    {
        if (identity == dcOrientation::Identity().Id()) {
            const auto& pose = *static_cast<const dcOrientation*>(payload);
            pose.position = position;
            pose.orientation = orientation;
            return 1;
        }
        if (identity == dcTargetMessage::Identity().Id()) {
            const auto& target = *static_cast<const dcTargetMessage*>(payload);
            target.position = position;
            target.rotation = orientation;
            target.velocity = velocity;
            return 1;
        }
        return RecordingEntity::HandleMessage(identity, payload, size, connection);
    }

    Vec3 position;
    Quaternion orientation;
    Vec3 velocity;
};
