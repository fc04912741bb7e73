#include "engine/gui/MenuScreen.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/GuiResources.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/SpriteDrawer.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"

#include <algorithm>

namespace {

constexpr float kRepeatDelay = 0.25f;
constexpr float kRepeatInterval = 0.05f;
// Menus run at back-buffer sizes up to this: the menu video mode is 800 x 600.
constexpr int32_t kTargetEdge = 1024;

// Images the screens draw into, taken on Enter and given back when a screen
// is popped. They are never destroyed, so at most as many exist as screens
// were entered at once. Kept per device: the game has one, tests several.
struct MenuTargetPool {
    const VideoDevice* device = nullptr;
    std::vector<std::unique_ptr<TextureResource>> targets;
    std::vector<DepthSurface*> depthSurfaces;
};

MenuTargetPool& TargetPool(const VideoDevice& device)
{
    static MenuTargetPool pool;
    if (pool.device != &device) {
        pool = {&device, {}, {}};
    }
    return pool;
}

// "Mouse.DCT", loaded by the first screen made on a device and kept for the run.
struct MenuCursor {
    const VideoDevice* device = nullptr;
    std::unique_ptr<TextureResource> texture;
};

MenuCursor& MenuCursorTexture()
{
    static MenuCursor cursor;
    return cursor;
}

void LoadMenuCursor()
{
    MenuCursor& cursor = MenuCursorTexture();
    const VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    GuiResources* resources = GetGuiResources();
    if (!video || !resources || (cursor.device == video && cursor.texture)) {
        return;
    }
    cursor.texture = resources->GetTexture(L"Mouse.DCT");
    cursor.device = video;
}

} // namespace

MenuScreen::MenuScreen(const WideString& name, const WideString& background)
    : backgroundName_(background)
{
    SetName(name);
    LoadMenuCursor();
}

MenuScreen::~MenuScreen() = default;

void MenuScreen::AddWidget(std::unique_ptr<Widget> widget)
{
    widgets_.push_back(std::move(widget));
}

void MenuScreen::AddHotkey(int32_t inputCode, int32_t widgetIndex)
{
    Widget* widget = widgetIndex >= 0 && widgetIndex < GetWidgetCount() ? widgets_[widgetIndex].get() : nullptr;
    hotkeys_.push_back({inputCode, widget});
}

bool MenuScreen::SelectWidget(int32_t index)
{
    const int32_t count = GetWidgetCount();
    if (count == 0) {
        currentWidget_ = -1;
        return true;
    }
    index = (index % count + count) % count;
    Widget& widget = *widgets_[index];
    if (!widget.SetFocus(true)) {
        return false;
    }
    if (index == currentWidget_) {
        return true;
    }
    const int32_t previous = currentWidget_;
    currentWidget_ = index;
    PlayMenuSound(L"MenuMove.WAV");
    if (previous != -1) {
        widgets_[previous]->SetFocus(false);
    }
    return true;
}

void MenuScreen::SelectNext()
{
    for (int32_t step = 1; step <= GetWidgetCount(); ++step) {
        if (SelectWidget(currentWidget_ + step)) {
            return;
        }
    }
}

void MenuScreen::SelectPrevious()
{
    for (int32_t step = 1; step <= GetWidgetCount(); ++step) {
        if (SelectWidget(currentWidget_ - step)) {
            return;
        }
    }
}

void MenuScreen::Enter()
{
    if (GuiResources* resources = GetGuiResources()) {
        background_ = resources->GetTexture(backgroundName_);
    }
    if (!widgets_.empty()) {
        currentWidget_ = defaultWidget_ >= 0 && defaultWidget_ < GetWidgetCount() ? defaultWidget_ : -1;
    }
    if (currentWidget_ != -1) {
        widgets_[currentWidget_]->SetFocus(true);
    }
    if (useCount_ == 0) {
        TakeRenderTarget();
    }
    ++useCount_;
}

void MenuScreen::Leave()
{
    background_.reset();
    PlayMenuSound(L"Menu.WAV");
    if (currentWidget_ != -1) {
        widgets_[currentWidget_]->SetFocus(false);
    }
}

void MenuScreen::Popped()
{
    if (useCount_ == 0) {
        return;
    }
    if (--useCount_ == 0) {
        ReturnRenderTarget();
    }
}

void MenuScreen::TakeRenderTarget()
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return;
    }
    MenuTargetPool& pool = TargetPool(*video);
    if (!pool.targets.empty()) {
        renderTarget_ = std::move(pool.targets.back());
        pool.targets.pop_back();
    } else {
        renderTarget_ = video->CreateTexture({kTextureRgb24, kTextureKind2D, video->GetBackBufferWidth(),
                                              video->GetBackBufferHeight(), kTargetEdge, kTargetEdge, 1, false, true,
                                              false});
    }
    if (!pool.depthSurfaces.empty()) {
        depthSurface_ = pool.depthSurfaces.back();
        pool.depthSurfaces.pop_back();
    } else if (GuiResources* resources = GetGuiResources()) {
        depthSurface_ = resources->CreateDepthSurface({kTargetEdge, kTargetEdge, kTextureD24S8, true, renderTarget_.get()});
    }
}

void MenuScreen::ReturnRenderTarget()
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return;
    }
    MenuTargetPool& pool = TargetPool(*video);
    if (renderTarget_) {
        pool.targets.push_back(std::move(renderTarget_));
    }
    if (depthSurface_) {
        pool.depthSurfaces.push_back(depthSurface_);
        depthSurface_ = nullptr;
    }
}

void MenuScreen::Update()
{
    const float frameTime = dcEngine::Instance().GetFrameTime();
    SetFade(std::min(GetFade() + frameTime, 1.0f));
    for (const std::unique_ptr<Widget>& widget : widgets_) {
        widget->Update(frameTime);
    }
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video || !renderTarget_) {
        return;
    }
    video->SetRenderTarget(renderTarget_.get());
    video->SetDepthStencil(depthSurface_);
    video->BeginFrame();
    Draw();
    video->EndFrame();
    video->SetRenderTarget(nullptr);
    video->SetDepthStencil(nullptr);
}

void MenuScreen::DrawFullScreen(TextureResource& image, float alpha)
{
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!batch || !video) {
        return;
    }
    const ViewportRect& viewport = video->GetViewport();
    batch->DrawImageRect(&image, WholeImage(image), {viewport.left, viewport.top, viewport.right, viewport.bottom},
                         {1.0f, 1.0f, 1.0f, alpha}, AlphaSpriteShader);
}

void MenuScreen::Draw()
{
    DrawBackground();
    DrawWidgets();
}

void MenuScreen::DrawBackground()
{
    if (background_) {
        DrawFullScreen(*background_, 1.0f);
    }
}

void MenuScreen::DrawWidgets()
{
    for (const std::unique_ptr<Widget>& widget : widgets_) {
        widget->Draw();
    }
}

void MenuScreen::Render()
{
    if (renderTarget_) {
        DrawFullScreen(*renderTarget_, GetFade());
    }
    DrawCursor();
}

// On screen at full strength, never into the screen's image.
void MenuScreen::DrawCursor()
{
    TextureResource* cursor = MenuCursorTexture().texture.get();
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!cursorVisible_ || !cursor || !batch || !input) {
        return;
    }
    const CursorPoint position = input->CursorPosition();
    batch->DrawImage(cursor, WholeImage(*cursor), {static_cast<float>(position.x), static_cast<float>(position.y)},
                     kOpaqueWhite, AlphaSpriteShader);
}

void MenuScreen::HandleInput()
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return;
    }
    if (mouseNavigation_) {
        NavigateByMouse();
    }
    if (keyboardNavigation_ && NavigateByKeyboard()) {
        return;
    }
    if (currentWidget_ != -1 && widgets_[currentWidget_]->HasState(WidgetRect::kTakesKeys)) {
        const CursorPoint cursor = input->CursorPosition();
        widgets_[currentWidget_]->HandleKeys({cursor.x, cursor.y});
    }
}

void MenuScreen::NavigateByMouse()
{
    InputSystem& input = *dcEngine::Instance().GetInputSystem();
    const std::array<float, 3> movement = input.MouseMovement();
    const CursorPoint cursor = input.CursorPosition();
    if (movement[0] != 0.0f || movement[1] != 0.0f || input.WasPressed(MouseButtonCode(0))
        || input.WasPressed(MouseButtonCode(1)) || input.WasPressed(MouseButtonCode(2))) {
        for (int32_t i = 0; i < GetWidgetCount(); ++i) {
            if (widgets_[i]->HandleMouse({cursor.x, cursor.y})) {
                SelectWidget(i);
                break;
            }
        }
    }
    if (movement[2] < 0.0f) {
        SelectPrevious();
    } else if (movement[2] > 0.0f) {
        SelectNext();
    }
}

bool MenuScreen::NavigateByKeyboard()
{
    InputSystem& input = *dcEngine::Instance().GetInputSystem();
    for (const Hotkey& hotkey : hotkeys_) {
        if (!hotkey.widget || !input.WasPressed(hotkey.inputCode)) {
            continue;
        }
        const auto found = std::find_if(widgets_.begin(), widgets_.end(),
                                         [&](const std::unique_ptr<Widget>& w) { return w.get() == hotkey.widget; });
        if (found == widgets_.end()) {
            continue;
        }
        // A hotkey selects even a widget that navigation passes over.
        hotkey.widget->SetState(WidgetRect::kHotkeyFocus, true);
        const bool selected = SelectWidget(static_cast<int32_t>(found - widgets_.begin()));
        hotkey.widget->SetState(WidgetRect::kHotkeyFocus, false);
        if (selected) {
            widgets_[currentWidget_]->Activate(kActivateKey);
            return true;
        }
    }
    if (!widgets_.empty()) {
        if (input.PressedWithRepeat(kKeyUp, kRepeatDelay, kRepeatInterval)) {
            SelectPrevious();
        }
        if (input.PressedWithRepeat(kKeyDown, kRepeatDelay, kRepeatInterval)) {
            SelectNext();
        }
    }
    return false;
}
