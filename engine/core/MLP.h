#pragma once
// A running module of the system: a menu screen, the loading screen, the game,
// the console. One is current at a time; the engine updates and draws it every
// frame and offers it the console commands of its map.

#include "engine/files/WideString.h"

#include <cstdint>
#include <map>

class ConsoleCommand;

class MLP {
public:
    enum Flags : int32_t {
        kPollsInput = 1,          // polls input in its own step; the engine's input step skips it
        kUpdateWhileStacked = 2,  // still updated while it lies on the stack
        kStayStacked = 4,         // not taken off the stack once the module above has faded in
    };

    MLP();
    virtual ~MLP();
    MLP(const MLP&) = delete;
    MLP& operator=(const MLP&) = delete;

    virtual void HandleInput() {}
    virtual void Update() {}
    virtual void Render() {}
    virtual void Enter() {}
    virtual void Leave() {}
    virtual void Popped() {}

    // The first registration of a name stays in the map; the module becomes
    // the owner of the command either way.
    void AddCommand(ConsoleCommand* command);
    int32_t RemoveCommand(ConsoleCommand* command);
    bool HasCommand(const WideString& name) const { return commands_.count(name) != 0; }
    bool RunCommand(const WideString& name, const WideString& arguments);

    const WideString& GetName() const { return name_; }
    void SetName(const WideString& name) { name_ = name; }
    float GetTime() const { return time_; }
    void SetTime(float seconds) { time_ = seconds; }
    float GetFade() const { return fade_; }
    void SetFade(float fade) { fade_ = fade; }
    int32_t GetFlags() const { return flags_; }
    bool HasFlag(Flags flag) const { return (flags_ & flag) != 0; }
    void SetFlag(Flags flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }

private:
    std::map<WideString, ConsoleCommand*> commands_;
    float time_ = 0.0f;   // seconds since it last became current
    float fade_ = 0.0f;   // 0 pushed, 1.0 fully in; the module raises it itself
    WideString name_;
    int32_t flags_ = 0;
};
