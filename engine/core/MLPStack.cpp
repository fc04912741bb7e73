#include "engine/core/MLPStack.h"

#include "engine/core/LogHub.h"
#include "engine/core/MLP.h"

namespace {

bool Refused(MLP* module)
{
    if (module) {
        return false;
    }
    LogHub::PrintError("dcEngine: switch to a missing MLP refused");
    return true;
}

} // namespace

void MLPStack::SwitchTo(MLP* module, bool enter)
{
    previous_ = current_;
    if (current_) {
        current_->Leave();
    }
    module->SetTime(0.0f);
    if (enter) {
        module->Enter();
    }
    current_ = module;
}

void MLPStack::Set(MLP* module, bool enter)
{
    if (Refused(module)) {
        return;
    }
    SwitchTo(module, enter);
}

void MLPStack::Push(MLP* module, bool enter)
{
    if (Refused(module)) {
        return;
    }
    entries_.push_back(current_);
    module->SetFade(0.0f);
    SwitchTo(module, enter);
}

void MLPStack::PushWithFade(MLP* module, bool fadeIn)
{
    if (Refused(module)) {
        return;
    }
    entries_.push_back(current_);
    module->SetFade(fadeIn ? 0.0f : 1.0f);
    SwitchTo(module, true);
}

void MLPStack::PopEntry(size_t index)
{
    MLP* module = entries_[index];
    module->Popped();
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

// None entries are never popped; popping keeps the index, as the entries above
// move down one place.
void MLPStack::PopAll(bool popStayStacked)
{
    for (size_t i = 0; i < entries_.size();) {
        MLP* module = entries_[i];
        if (module && (popStayStacked || !module->HasFlag(MLP::kStayStacked))) {
            PopEntry(i);
        } else {
            ++i;
        }
    }
}

MLP* MLPStack::BeginPass()
{
    passModule_ = current_;
    return passModule_;
}

// A module that came in with a fade still running keeps the stack for drawing
// beneath it; one that came in fully shown clears the stack at once.
bool MLPStack::SwitchCheck(bool popStayStacked)
{
    if (!stacking_ || current_ == passModule_ || !current_) {
        return false;
    }
    if (current_->GetFade() >= 1.0f) {
        PopAll(popStayStacked);
    }
    passModule_ = current_;
    return true;
}

bool MLPStack::RunModuleSteps()
{
    bool changed = SwitchCheck(true);
    if (passModule_) {
        if (stacking_) {
            for (MLP* module : std::vector<MLP*>(entries_)) {
                if (module && module->HasFlag(MLP::kUpdateWhileStacked)) {
                    module->Update();
                }
            }
        }
        passModule_->Update();
    }
    return SwitchCheck(false) || changed;
}

void MLPStack::RenderModules()
{
    MLP* module = passModule_;
    if (!module) {
        return;
    }
    if (!stacking_) {
        module->Render();
        return;
    }
    if (module->GetFade() >= 1.0f) {
        PopAll(false);
        module->Render();
        return;
    }
    // Fading in: draw from the topmost fully shown stacked module up, and let
    // the older stacked modules go.
    size_t shown = 0;
    for (size_t i = entries_.size(); i-- > 0;) {
        if (entries_[i] && entries_[i]->GetFade() >= 1.0f) {
            shown = i;
            break;
        }
    }
    for (size_t i = 0; i < shown;) {
        MLP* stacked = entries_[i];
        if (stacked && !stacked->HasFlag(MLP::kStayStacked)) {
            PopEntry(i);
            --shown;
        } else {
            ++i;
        }
    }
    for (MLP* stacked : std::vector<MLP*>(entries_)) {
        if (stacked) {
            stacked->Render();
        }
    }
    module->Render();
}

void MLPStack::Print() const
{
    const int32_t size = static_cast<int32_t>(entries_.size());
    LogHub::Printf("MLPStack has %d entries", size + 1);
    auto printEntry = [](int32_t index, const MLP* module) {
        if (module) {
            LogHub::Printf("%d. %s", index, module->GetName().c_str());
        } else {
            LogHub::Printf("%d. null", index);
        }
    };
    for (int32_t i = 0; i < size; ++i) {
        printEntry(i, entries_[i]);
    }
    printEntry(size, current_);
}
