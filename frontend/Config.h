#pragma once
// The player's settings between runs: the option values and bindings (the
// option objects' own), and the fields kept beside them. Loaded once the
// option objects and the menus exist, saved 0.1 s after every settings
// change, when a game starts and at shutdown, always to "Misc\Config.VKS".

#include "frontend/ConfigFile.h"

class Config : public ConfigFields {
public:
    static constexpr const wchar_t* kFileName = L"Misc\\Config.VKS";

    // The defaults, then the file over them when there is one.
    void Load();
    // Applies the file only when all of it could be read; otherwise logs one
    // line naming it, changes nothing and answers false.
    bool Read();
    // Options through their change operations; the bindings stored directly.
    // The single-player fields and the high scores stay as they are.
    void SetDefaults();
    // The old file stays whole until the new one is completely written.
    void Save();

    // The script becomes the current one and joins the current character's
    // reached scripts unless already there; saved at once.
    void RecordReachedScript(const WideString& script);

    // As a game starts: saves, mutes the menu sounds and shows the game in
    // the chosen video mode in full screen (a window keeps its size).
    void ApplyGameVideoMode();

private:
    SavedOptions CollectOptions() const;
    void ApplyOptions(const SavedOptions& options);
};

// The one for the whole run.
Config& GetConfig();
