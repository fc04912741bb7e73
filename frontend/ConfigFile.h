#pragma once
// "Misc\Config.VKS", the settings file: the option values, the control
// bindings, the single-player progress, the high-score table and the
// multiplayer choices, field by field, little-endian, with no checksum and
// no length. Narrow texts keep the low byte of each character.

#include "engine/files/Stream.h"
#include "engine/files/WriteStream.h"
#include "frontend/ControlBindings.h"

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int32_t kHighScoreRows = 10;
inline constexpr int32_t kSinglePlayerCharacters = 2;

struct HighScoreEntry {
    int32_t score = 1000;
    WideString name = L"Varnholt";
    WideString secondName = L"Varnholt";

    bool operator==(const HighScoreEntry&) const = default;
};

// What the settings keep besides the option values.
struct ConfigFields {
    std::vector<HighScoreEntry> highScores;   // highest score first, at most kHighScoreRows
    // Per single-player character, the scripts it has reached.
    std::array<std::vector<WideString>, kSinglePlayerCharacters> reachedScripts;
    WideString currentScript;                 // the single-player script to continue with
    int32_t currentCharacter = 0;
    WideString hostName;                      // the multiplayer server's name
    WideString mpScript;                      // the multiplayer script last chosen in the lobby
    int32_t maxPlayers = 0;
    int32_t scoreLimit = 0;
    int32_t timeLimit = 0;                    // minutes
    float mpReserved = 0.0f;                  // kept in the file, read by nothing
    WideString playerName;
    WideString carName;                       // the car last chosen in the lobby
    int32_t teamIndex = 0;                    // the team last chosen in the lobby

    bool operator==(const ConfigFields&) const = default;
};

// The option values as the file holds them.
struct SavedOptions {
    WideString videoMode;   // a mode text
    int32_t textureDetail = 0;
    int32_t detailLevel = 0;
    int32_t reflections = 0;
    int32_t gamma1 = 0;
    int32_t gamma2 = 0;
    float soundVolume = 0.0f;
    float musicVolume = 0.0f;
    std::array<BindingCodes, kBindingCount> bindings{};
    int32_t mouseSensitivity = 0;
};

struct ConfigFileContent {
    SavedOptions options;
    ConfigFields fields;
};

// False, with one log line naming the file, when the stream is not a whole
// settings file of this version; what was read is then of no use. A table
// of more than kHighScoreRows scores keeps its first ones.
bool ReadConfigFile(Stream& in, ConfigFileContent& content);
void WriteConfigFile(WriteStream& out, const ConfigFileContent& content);
