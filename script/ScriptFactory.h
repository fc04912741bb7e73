#pragma once
// Makes one class of mission node for the dump reader, which picks the
// factory by the class id it meets in a dump.

#include "engine/core/MessageReceiver.h"
#include "engine/files/WideString.h"

#include <cstdint>
#include <new>

class ScriptFactory {
public:
    ScriptFactory(const WideString& className, int32_t classId) : className_(className), classId_(classId) {}
    virtual ~ScriptFactory() = default;
    ScriptFactory(const ScriptFactory&) = delete;
    ScriptFactory& operator=(const ScriptFactory&) = delete;

    // A new node with its class's defaults, in no scene; null when it cannot
    // be made.
    virtual MessageReceiver* Create() = 0;

    int32_t GetClassID() const { return classId_; }
    const WideString& GetClassName() const { return className_; }

private:
    WideString className_;
    int32_t classId_;
};

template <class Node>
class NodeFactory : public ScriptFactory {
public:
    NodeFactory() : ScriptFactory(Node::Identity().Name(), Node::Identity().Id()) {}
    MessageReceiver* Create() override { return new (std::nothrow) Node(); }
};
