#pragma once
// The game's fonts, made once with the game module: the faces come from the
// language texts, so each language can bring its own.

#include <cstdint>
#include <memory>
#include <vector>

class Font;
class LanguageTable;

class GameFonts {
public:
    // In the order the table makes them; the HUD and the on-screen messages
    // pick theirs by these indices.
    enum Index : int32_t {
        kBold8,
        kBold9,
        kBold10,
        kBold11,
        kBold12,
        kBold13,
        kBold14,
        kBold15,
        kBold20,
        kBold25,
        kTitle32,   // the pause text
        kBold50,
        kHud40,
        kHud18,
        kHud10,
        kHud14,
        kCount,
    };

    GameFonts();
    ~GameFonts();
    GameFonts(const GameFonts&) = delete;
    GameFonts& operator=(const GameFonts&) = delete;

    // Makes every font of the table, registering the HUD's font file on the way.
    void Create(LanguageTable& language);

    // None before Create.
    Font* Get(Index index) const;

private:
    std::vector<std::unique_ptr<Font>> fonts_;
};
