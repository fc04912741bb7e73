#pragma once
// An extension of a world object that writes what it is told into a journal
// ("lamp:prepare", "lamp:hit") and, like a lamp, breaks when hit.

#include "game/world/WorldObjectExtension.h"

#include <string>
#include <vector>

class RecordingExtension : public WorldObjectExtension {
public:
    RecordingExtension(std::string name, bool passesOn, std::vector<std::string>& journal)
        : WorldObjectExtension(passesOn), name_(std::move(name)), journal_(journal)
    {
    }

    void OnVisible() override { journal_.push_back(name_ + ":visible"); }
    void PrepareHit() override
    {
        broken = true;
        journal_.push_back(name_ + ":prepare");
    }
    void OnHit(const Vec3& at) override
    {
        hitAt = at;
        journal_.push_back(name_ + ":hit");
    }

    const std::string& GetName() const { return name_; }

    bool broken = false;
    Vec3 hitAt;

private:
    std::string name_;
    std::vector<std::string>& journal_;
};
