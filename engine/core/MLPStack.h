#pragma once
// The engine's current module and the stack of modules beneath it. There is no
// explicit pop: a module pushed with a fade is drawn over the last fully shown
// one, and the frame takes the stacked modules off once it has faded in.

#include <cstdint>
#include <vector>

class MLP;

class MLPStack {
public:
    // Fades and stacked updates are used (the engine turns this on at Init).
    void EnableStacking() { stacking_ = true; }

    void Set(MLP* module, bool enter);
    void Push(MLP* module, bool enter);
    void PushWithFade(MLP* module, bool fadeIn);

    // One frame pass: BeginPass records the module the pass runs; after the
    // input step, RunModuleSteps checks for switches and updates the modules,
    // answering true when the current module changed and the pass must run
    // again. RenderModules draws with the module of the last pass.
    MLP* BeginPass();
    bool RunModuleSteps();
    void RenderModules();

    // The PRINTMLPSTACK report.
    void Print() const;

    MLP* Current() const { return current_; }
    MLP* Previous() const { return previous_; }
    const std::vector<MLP*>& Entries() const { return entries_; }

private:
    bool SwitchCheck(bool popStayStacked);
    void PopEntry(size_t index);
    void PopAll(bool popStayStacked);
    void SwitchTo(MLP* module, bool enter);

    std::vector<MLP*> entries_;   // bottom first; may hold none entries
    MLP* previous_ = nullptr;
    MLP* current_ = nullptr;
    MLP* passModule_ = nullptr;
    bool stacking_ = false;
};
