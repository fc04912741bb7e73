#pragma once
// Hands a message to one receiver on behalf of a scene. Deletions the handler
// asks for wait until it has returned, as in a scene broadcast, so a handler
// may release its own object or others.

#include <cstdint>

class MessageReceiver;
class Scene;

void DeliverInScene(Scene& scene, MessageReceiver* receiver, int32_t identity, const void* payload, int32_t size,
                    int32_t connection);
