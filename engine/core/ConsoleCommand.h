#pragma once
// A typed console command, registered by name on a module (the engine, the
// game, a menu). Its registrar creates it and keeps it for the whole run; the
// module's map does not own it.

#include "engine/files/WideString.h"

class MLP;

class ConsoleCommand {
public:
    explicit ConsoleCommand(const char* name) : name_(WideStringFromChars(name, -1)) {}
    virtual ~ConsoleCommand() = default;
    ConsoleCommand(const ConsoleCommand&) = delete;
    ConsoleCommand& operator=(const ConsoleCommand&) = delete;

    virtual void Execute(const WideString& arguments) = 0;

    const WideString& GetName() const { return name_; }
    MLP* GetOwner() const { return owner_; }

private:
    friend class MLP;

    MLP* owner_ = nullptr;
    WideString name_;
};
