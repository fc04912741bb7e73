#pragma once
// The module every menu screen derives from: a background image and a list
// of widgets, with keyboard, mouse and hotkey navigation between them. Each
// update draws the screen off screen into an image of its own; on screen it
// shows that image at its fade value, plus the mouse cursor. The image
// outlives the screen's turn, so the engine's fade between two menus
// cross-fades the old screen's last image into the new one.

#include "engine/core/MLP.h"
#include "engine/gui/Widget.h"

#include <cstdint>
#include <memory>
#include <vector>

class DepthSurface;
class TextureResource;

class MenuScreen : public MLP {
public:
    MenuScreen(const WideString& name, const WideString& background);
    ~MenuScreen() override;

    // Mouse hit tests and the wheel, then hotkeys and the arrows, then the
    // current widget's own keys.
    void HandleInput() override;
    // Fades in, updates the widgets and draws the screen into its image.
    void Update() override;
    void Render() override;
    // Focuses the default widget and takes an image to draw into.
    void Enter() override;
    void Leave() override;
    // Gives the image back once the screen is no longer entered.
    void Popped() override;

    virtual void Draw();
    virtual void DrawBackground();
    virtual void DrawWidgets();
    virtual void DrawCursor();

    // The screen owns the widget from now on.
    void AddWidget(std::unique_ptr<Widget> widget);
    // The widget the index designates now; an index beyond the list binds nothing.
    void AddHotkey(int32_t inputCode, int32_t widgetIndex);
    // Indices wrap round the list. False, and no change, when the widget
    // refuses the focus.
    bool SelectWidget(int32_t index);
    // The next (previous) widget that takes the focus, wrapping round.
    void SelectNext();
    void SelectPrevious();

    // The controls page turns all three off while it waits for an input.
    void SetCursorVisible(bool on) { cursorVisible_ = on; }
    void SetKeyboardNavigation(bool on) { keyboardNavigation_ = on; }
    void SetMouseNavigation(bool on) { mouseNavigation_ = on; }
    bool IsCursorVisible() const { return cursorVisible_; }
    bool HasKeyboardNavigation() const { return keyboardNavigation_; }
    bool HasMouseNavigation() const { return mouseNavigation_; }

    void SetDefaultWidget(int32_t index) { defaultWidget_ = index; }
    int32_t GetCurrentWidget() const { return currentWidget_; }
    int32_t GetWidgetCount() const { return static_cast<int32_t>(widgets_.size()); }
    int32_t GetUseCount() const { return useCount_; }
    TextureResource* GetRenderTarget() const { return renderTarget_.get(); }
    const WideString& GetBackgroundName() const { return backgroundName_; }

private:
    struct Hotkey {
        int32_t inputCode;
        Widget* widget;
    };

    void NavigateByMouse();
    // True when a hotkey activated its widget.
    bool NavigateByKeyboard();
    void TakeRenderTarget();
    void ReturnRenderTarget();
    // The back-buffer-sized picture of a texture, stretched over the viewport.
    void DrawFullScreen(TextureResource& image, float alpha);

    int32_t currentWidget_ = -1;
    std::vector<Hotkey> hotkeys_;
    bool cursorVisible_ = true;
    bool keyboardNavigation_ = true;
    bool mouseNavigation_ = true;
    std::vector<std::unique_ptr<Widget>> widgets_;
    int32_t defaultWidget_ = 0;
    int32_t useCount_ = 0;
    std::unique_ptr<TextureResource> renderTarget_;
    DepthSurface* depthSurface_ = nullptr;   // kept by the GUI's resource maker
    WideString backgroundName_;
    std::unique_ptr<TextureResource> background_;
};
