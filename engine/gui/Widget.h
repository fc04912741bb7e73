#pragma once
// The base of the menu widgets: where a widget is (WidgetRect), and how it is
// hit, focused, enabled and activated (Widget). A MenuScreen owns its widgets,
// moves the focus between them with SetFocus, hit-tests them with HandleMouse
// and passes the focused one the keys through HandleKeys.

#include "engine/math/Color.h"
#include "engine/math/Vec2.h"

#include <cstdint>

// A point in screen pixels.
struct WidgetPoint {
    int32_t x;
    int32_t y;
};

// A rectangle in screen pixels: left and top inside, right and bottom outside.
struct WidgetBox {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    bool Contains(WidgetPoint p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

// Each coordinate truncated.
WidgetPoint ToIntPoint(const Vec2& point);

// How a widget is activated: Enter, a left or right click on it, or the
// third or fourth mouse button anywhere.
enum WidgetActivation : int32_t {
    kActivateKey = 0,
    kActivateLeftClick = 1,
    kActivateRightClick = 2,
    kActivateOtherButton = 3,
};

class WidgetRect {
public:
    enum State : int32_t {
        kHotkeyFocus = 1,   // set by the screen while a hotkey selects the widget
        kTakesKeys = 2,     // while focused, the screen passes it the keys
    };

    WidgetRect() = default;
    virtual ~WidgetRect() = default;
    WidgetRect(const WidgetRect&) = delete;
    WidgetRect& operator=(const WidgetRect&) = delete;

    // Moves the position rectangle's top-left to the point, centred on it
    // horizontally when asked; the new bottom.
    virtual int32_t SetPosition(WidgetPoint point, bool centre);
    virtual bool HandleMouse(WidgetPoint point) = 0;
    // False, and no change, when the widget refuses the focus.
    virtual bool SetFocus(bool on) = 0;
    virtual void HandleKeys(WidgetPoint cursor) = 0;
    virtual void Update(float frameTime) = 0;
    virtual void Draw() = 0;
    // how: WidgetActivation.
    virtual void Activate(int32_t how) = 0;

    const WidgetBox& GetPosition() const { return position_; }
    bool HasState(State bit) const { return (state_ & bit) != 0; }
    void SetState(State bit, bool on) { state_ = on ? (state_ | bit) : (state_ & ~bit); }

protected:
    // The box moved like the position rectangle.
    static void MoveBox(WidgetBox& box, WidgetPoint point, bool centre);

    WidgetBox position_{0, 0, 0, 0};
    int32_t state_ = kTakesKeys;
};

class Widget : public WidgetRect {
public:
    enum Flags : int32_t {
        kFocused = 1,
        kEnabled = 2,
        kBrightWhileDisabled = 4,   // drawn in its own colour even while disabled
        kFocusable = 16,            // takes the focus by navigation, not only by a hotkey
    };
    // Where a focused widget's text is drawn, from its position.
    static constexpr WidgetPoint kFocusOffset{-2, 2};

    Widget() = default;

    // The hit rectangle (shifted with the text while focused) contains the
    // point and the widget is enabled. A click on a disabled widget plays
    // "False.WAV".
    bool HandleMouse(WidgetPoint point) override;
    // Taken only while enabled, and focusable or held by a hotkey; given up always.
    bool SetFocus(bool on) override;
    // A left or right click on the widget (repeating while held), the third
    // or fourth mouse button anywhere, and Enter activate it.
    void HandleKeys(WidgetPoint cursor) override;
    // Turning off takes the focus first.
    virtual void SetEnabled(bool on);

    bool HasFlag(Flags flag) const { return (flags_ & flag) != 0; }
    void SetFlag(Flags flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }
    bool IsFocused() const { return HasFlag(kFocused); }
    bool IsEnabled() const { return HasFlag(kEnabled); }
    const WidgetBox& GetHitRect() const { return hitRect_; }
    void SetColor(const Color& color) { color_ = color; }

protected:
    // The box is hit: true while enabled; while disabled, a click on it
    // plays "False.WAV" and it is not hit.
    bool HitWhileEnabled(const WidgetBox& box, WidgetPoint point) const;

    WidgetBox hitRect_{0, 0, 0, 0};
    int32_t flags_ = kEnabled | kFocusable;
    float repeatDelay_ = 0.25f;   // seconds before a held click repeats
    float repeatInterval_ = 0.05f;
    Color color_{1.0f, 1.0f, 1.0f, 1.0f};
};
