#include "engine/gui/TextWidget.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/video/SpriteDrawer.h"

namespace {

constexpr int32_t kPositionHeight = 24;
constexpr float kDimmest = 0.25f;
constexpr float kGlowSpeed = 2.0f;      // brightness per second while focused
constexpr float kRecoverSpeed = 4.0f;   // back to full brightness once unfocused
const Color kDisabledTint = ColorFromRgbBytes(127, 127, 152, 1.0f);

} // namespace

TextWidget::TextWidget(const WideString& text, Font* font)
    : font_(font ? font : dcEngine::Instance().GetDefaultFont())
    , text_(text)
{
    hitRect_.right = hitRect_.left + TextWidth(font_, text_);
    hitRect_.bottom = hitRect_.top + FontSize(font_);
    position_.bottom = position_.top + kPositionHeight;
}

int32_t TextWidget::TextWidth(Font* font, const WideString& text)
{
    return font ? static_cast<int32_t>(font->MeasureText(text)) : 0;
}

int32_t TextWidget::FontSize(Font* font)
{
    return font ? font->GetSize() : 0;
}

int32_t TextWidget::SetPosition(WidgetPoint point, bool centre)
{
    MoveBox(hitRect_, point, centre);
    return WidgetRect::SetPosition({hitRect_.left, hitRect_.top}, centre);
}

bool TextWidget::HandleMouse(WidgetPoint point)
{
    if (Widget::HandleMouse(point)) {
        return true;
    }
    const WidgetPoint origin = TextOrigin();
    for (const ExtraText& extra : extraTexts_) {
        const WidgetBox box{origin.x + extra.x, origin.y + extra.y, origin.x + extra.x + TextWidth(extra.font, extra.text),
                            origin.y + extra.y + FontSize(extra.font)};
        if (HitWhileEnabled(box, point)) {
            return true;
        }
    }
    return false;
}

void TextWidget::Update(float frameTime)
{
    hitRect_.right = hitRect_.left + TextWidth(font_, text_);
    hitRect_.bottom = hitRect_.top + FontSize(font_);
    if (IsFocused()) {
        if (rising_) {
            brightness_ += kGlowSpeed * frameTime;
            if (brightness_ >= 1.0f) {
                brightness_ = 1.0f;
                rising_ = false;
            }
        } else {
            brightness_ -= kGlowSpeed * frameTime;
            if (brightness_ <= kDimmest) {
                brightness_ = kDimmest;
                rising_ = true;
            }
        }
    } else if (brightness_ < 1.0f) {
        rising_ = true;
        brightness_ += kRecoverSpeed * frameTime;
        if (brightness_ >= 1.0f) {
            brightness_ = 1.0f;
            rising_ = false;
        }
    }
}

WidgetPoint TextWidget::TextOrigin() const
{
    const WidgetPoint offset = IsFocused() ? kFocusOffset : WidgetPoint{0, 0};
    return {position_.left + offset.x, position_.top + offset.y};
}

Color TextWidget::TextColor() const
{
    if (IsEnabled() || HasFlag(kBrightWhileDisabled)) {
        return {color_.r, color_.g, color_.b, color_.a * brightness_};
    }
    Color tint = kDisabledTint;
    tint.a = brightness_;
    return MultiplyComponents(color_, tint);
}

void TextWidget::DrawWidgetText(const WideString& text, Font& font, WidgetPoint point, const Color& color)
{
    if (SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch()) {
        batch->DrawTextAligned(text, font, kAnchorNone, {static_cast<float>(point.x), static_cast<float>(point.y)},
                               kAnchorNone, color, AlphaSpriteShader, true);
    }
}

void TextWidget::Draw()
{
    const Color color = TextColor();
    const WidgetPoint origin = TextOrigin();
    if (font_) {
        DrawWidgetText(text_, *font_, origin, color);
    }
    for (const ExtraText& extra : extraTexts_) {
        if (extra.font) {
            DrawWidgetText(extra.text, *extra.font, {origin.x + extra.x, origin.y + extra.y}, color);
        }
    }
}

void TextWidget::AddExtraText(const WideString& text, int32_t x, int32_t y, Font* font)
{
    extraTexts_.push_back({text, x, y, font ? font : font_});
}
