#pragma once
// A widget that shows a text in a font: its hit rectangle follows the text,
// it glows while focused (the brightness pulses between 0.25 and 1), and
// screens may add further texts that move, glow and hit-test with it. Every
// concrete menu widget derives from it.

#include "engine/files/WideString.h"
#include "engine/gui/Widget.h"

#include <vector>

class Font;

class TextWidget : public Widget {
public:
    // A text beside the widget's own: (x, y) from the widget's position.
    struct ExtraText {
        WideString text;
        int32_t x;
        int32_t y;
        Font* font;
    };

    // No font: the engine's default font.
    TextWidget(const WideString& text, Font* font);

    // Centring applies to the hit rectangle; the position rectangle follows
    // its top-left.
    int32_t SetPosition(WidgetPoint point, bool centre) override;
    // The text, then each extra text.
    bool HandleMouse(WidgetPoint point) override;
    void Update(float frameTime) override;
    void Draw() override;

    void AddExtraText(const WideString& text, int32_t x, int32_t y, Font* font);
    const WideString& GetText() const { return text_; }
    Font* GetFont() const { return font_; }
    float GetBrightness() const { return brightness_; }

protected:
    // The text's width in the font, truncated; 0 without a font.
    static int32_t TextWidth(Font* font, const WideString& text);
    static int32_t FontSize(Font* font);
    // Where the text is drawn: moved by the focus offset while focused.
    WidgetPoint TextOrigin() const;
    // The focus glow's colour, or a bluish grey while disabled.
    Color TextColor() const;
    // Draws a text as every widget text is drawn: shadowed, not anchored.
    static void DrawWidgetText(const WideString& text, Font& font, WidgetPoint point, const Color& color);

    Font* font_;
    WideString text_;
    std::vector<ExtraText> extraTexts_;

private:
    float brightness_ = 1.0f;
    bool rising_ = false;
};
