#include "game/world/GameFonts.h"

#include "engine/files/LanguageTable.h"
#include "engine/gui/GdiFont.h"

namespace {

constexpr int32_t kBoldFaceKey = 555660;
constexpr int32_t kTitleFaceKey = 555661;
constexpr int32_t kHudFaceKey = 555662;
const wchar_t* const kHudFontFile = L"Fonts\\HUD Font.TTF";

struct FontEntry {
    int32_t faceKey;
    int32_t size;
    bool bold;
};

// In table order: the HUD face may come from the font file, which is
// registered after the first twelve.
constexpr FontEntry kBeforeHudFile[] = {
    {kBoldFaceKey, 8, true},  {kBoldFaceKey, 9, true},   {kBoldFaceKey, 10, true}, {kBoldFaceKey, 11, true},
    {kBoldFaceKey, 12, true}, {kBoldFaceKey, 13, true},  {kBoldFaceKey, 14, true}, {kBoldFaceKey, 15, true},
    {kBoldFaceKey, 20, true}, {kBoldFaceKey, 25, true},  {kTitleFaceKey, 32, true}, {kBoldFaceKey, 50, true},
};
constexpr FontEntry kAfterHudFile[] = {
    {kHudFaceKey, 40, false}, {kHudFaceKey, 18, false}, {kHudFaceKey, 10, false}, {kHudFaceKey, 14, false},
};

std::unique_ptr<Font> MakeTableFont(LanguageTable& language, const FontEntry& entry)
{
    return MakeFont(kGlyphsAll, language.GetText(entry.faceKey), entry.size, entry.bold, 0.0f, 0.0f,
                    {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
}

} // namespace

GameFonts::GameFonts() = default;
GameFonts::~GameFonts() = default;

void GameFonts::Create(LanguageTable& language)
{
    fonts_.clear();
    for (const FontEntry& entry : kBeforeHudFile) {
        fonts_.push_back(MakeTableFont(language, entry));
    }
    AddFontFile(kHudFontFile);
    for (const FontEntry& entry : kAfterHudFile) {
        fonts_.push_back(MakeTableFont(language, entry));
    }
}

Font* GameFonts::Get(Index index) const
{
    return index >= 0 && index < static_cast<int32_t>(fonts_.size()) ? fonts_[index].get() : nullptr;
}
