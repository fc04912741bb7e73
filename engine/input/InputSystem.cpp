#include "engine/input/InputSystem.h"

#include "engine/core/ClassIdentity.h"
#include "engine/core/dcWindow.h"
#include "engine/files/LanguageTable.h"
#include "engine/input/DirectInputDevices.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Language keys of the code names.
constexpr int32_t kTextNoCode = 32768;
constexpr int32_t kTextKey = 32769;            // "%s %d" with the scan code, for keys without a name
constexpr int32_t kTextFirstMouseCode = 32770; // one text per code from 255 to 268
constexpr int32_t kTextController = 32784;     // "%s%d" with the controller's number from 1
constexpr int32_t kTextFirstAxisHalf = 32785;  // x-, x+, y-, y+, z-, z+
constexpr int32_t kTextButton = 32791;         // "%s %d" with the button's number from 1

// Axis halves 6 to 9 have no axis behind them and borrow the names of 2 to 5.
constexpr int32_t kNamedAxisHalves = 6;
constexpr int32_t kBorrowedNameOffset = 4;

int32_t AxisHalfTextKey(int32_t half)
{
    return kTextFirstAxisHalf + (half < kNamedAxisHalves ? half : half - kBorrowedNameOffset);
}

// A cursor coordinate kept within a window span of the given size.
int32_t ClampToSpan(double position, int32_t size)
{
    const double last = std::max(size - 1, 0);
    return static_cast<int32_t>(std::clamp(position, 0.0, last));
}

int32_t GuidId(const std::array<uint8_t, 16>& guid)
{
    return static_cast<int32_t>(Crc32XorLength(0, guid.data(), static_cast<int32_t>(guid.size())));
}

} // namespace

InputSystem::InputSystem(std::unique_ptr<InputDevices> devices, LanguageTable* language)
    : devices_(std::move(devices))
    , language_(language)
{
}

InputSystem::~InputSystem()
{
    Shutdown();
}

void InputSystem::Init(dcWindow& window, bool fullScreen)
{
    if (window_) {
        Shutdown();
    }
    window_ = &window;
    fullScreen_ = fullScreen;
    devices_->Open(window.GetHandle(), fullScreen);
    joysticks_.resize(devices_->ControllerCount());
}

void InputSystem::Shutdown()
{
    devices_->Close();
    joysticks_.clear();
    keys_.ReleaseAll();
    mouseButtons_.ReleaseAll();
    mouseMovement_ = {};
    textReceivers_.clear();
    window_ = nullptr;
}

void InputSystem::Update(float dt)
{
    UpdateKeyboard(dt);
    UpdateMouse(dt);
    for (int32_t controller = 0; controller < JoystickCount(); ++controller) {
        UpdateJoystick(controller, dt);
    }
}

void InputSystem::UpdateKeyboard(float dt)
{
    std::vector<ButtonEvent> events;
    const DeviceRead read = devices_->ReadKeyboard(events);
    if (read == DeviceRead::kRead) {
        keys_.Apply(events, dt);
    } else if (read == DeviceRead::kNotAcquired) {
        keys_.DropEvents();
    } else {
        keys_.ReleaseAll();
    }
}

void InputSystem::UpdateMouse(float dt)
{
    MouseReport report;
    const bool read = devices_->ReadMouse(report) == DeviceRead::kRead;
    if (!read) {
        report = {};
    }
    mouseMovement_ = {static_cast<float>(report.x), static_cast<float>(report.y), -static_cast<float>(report.wheel)};
    UpdateCursor();
    // Clicks outside the window belong to other programs.
    if (read && inside_) {
        mouseButtons_.Apply(report.buttons, dt);
    } else {
        mouseButtons_.ReleaseAll();
    }
}

void InputSystem::UpdateCursor()
{
    if (!window_) {
        return;
    }
    double x = cursor_.x;
    double y = cursor_.y;
    // The full-screen mouse is exclusive: the system cursor stays put, so the
    // cursor follows the mouse's own movement.
    if (fullScreen_) {
        inside_ = true;
        x += std::trunc(mouseMovement_[0]);
        y += std::trunc(mouseMovement_[1]);
    } else {
        int32_t screenX = 0;
        int32_t screenY = 0;
        if (!devices_->ReadScreenCursor(screenX, screenY)) {
            return;
        }
        inside_ = screenX >= window_->GetX() && screenX < window_->GetRight() && screenY >= window_->GetY() &&
                  screenY < window_->GetBottom();
        x = screenX - window_->GetX();
        y = screenY - window_->GetY();
    }
    cursor_.x = ClampToSpan(x, window_->GetClientWidth());
    cursor_.y = ClampToSpan(y, window_->GetClientHeight());
}

void InputSystem::UpdateJoystick(int32_t controller, float dt)
{
    JoystickState& joystick = joysticks_[controller];
    ControllerValues values;
    if (devices_->ReadControllerValues(controller, values)) {
        for (size_t i = 0; i < joystick.axes.size(); ++i) {
            joystick.axes[i] = static_cast<float>(values.axes[i]) / kControllerAxisRange;
        }
        for (size_t i = 0; i < joystick.sliders.size(); ++i) {
            joystick.sliders[i] = static_cast<float>(values.sliders[i]) / kControllerAxisRange;
        }
    } else {
        // The sliders keep their last values.
        joystick.axes = {};
    }
    std::vector<ButtonEvent> events;
    if (devices_->ReadControllerButtons(controller, events) == DeviceRead::kRead) {
        joystick.buttons.Apply(events, dt);
    } else {
        joystick.buttons.ReleaseAll();
    }
}

const DeviceButtons* InputSystem::FindButtons(int32_t code, int32_t& button) const
{
    const DecodedInputCode decoded = DecodeInputCode(code);
    button = decoded.index;
    switch (decoded.kind) {
    case InputCodeKind::kKey:
        return &keys_;
    case InputCodeKind::kMouseButton:
        return &mouseButtons_;
    case InputCodeKind::kControllerButton:
        return HasJoystick(decoded.controller) ? &joysticks_[decoded.controller].buttons : nullptr;
    default:
        return nullptr;
    }
}

DeviceButtons* InputSystem::FindButtons(int32_t code, int32_t& button)
{
    return const_cast<DeviceButtons*>(std::as_const(*this).FindButtons(code, button));
}

bool InputSystem::WasReleased(int32_t code) const
{
    int32_t button = 0;
    const DeviceButtons* buttons = FindButtons(code, button);
    return buttons && buttons->WasReleased(button);
}

bool InputSystem::IsDown(int32_t code) const
{
    int32_t button = 0;
    const DeviceButtons* buttons = FindButtons(code, button);
    return buttons && buttons->IsDown(button);
}

bool InputSystem::WasPressed(int32_t code) const
{
    int32_t button = 0;
    const DeviceButtons* buttons = FindButtons(code, button);
    return buttons && buttons->WasPressed(button);
}

bool InputSystem::PressedWithRepeat(int32_t code, float delay, float rate)
{
    int32_t button = 0;
    DeviceButtons* buttons = FindButtons(code, button);
    return buttons && buttons->PressedWithRepeat(button, delay, rate);
}

bool InputSystem::PressedOrHeldFor(int32_t code, float seconds) const
{
    int32_t button = 0;
    const DeviceButtons* buttons = FindButtons(code, button);
    return buttons && buttons->PressedOrHeldFor(button, seconds);
}

WideString InputSystem::GetCodeName(int32_t code) const
{
    const DecodedInputCode decoded = DecodeInputCode(code);
    WideString name;
    switch (decoded.kind) {
    case InputCodeKind::kKey:
        if (devices_->GetKeyName(code, name) && !name.empty()) {
            return name;
        }
        return FormatWideString(name, "%s %d", Text(kTextKey).c_str(), code);
    case InputCodeKind::kMouseButton:
    case InputCodeKind::kMouseAxisHalf:
        return Text(kTextFirstMouseCode + code - kFirstMouseButtonCode);
    case InputCodeKind::kControllerButton:
        if (!HasJoystick(decoded.controller)) {
            break;
        }
        return FormatWideString(name, "%s%d %s %d", Text(kTextController).c_str(), decoded.controller + 1,
                                Text(kTextButton).c_str(), decoded.index + 1);
    case InputCodeKind::kControllerAxisHalf:
        if (!HasJoystick(decoded.controller)) {
            break;
        }
        return FormatWideString(name, "%s%d %s", Text(kTextController).c_str(), decoded.controller + 1,
                                Text(AxisHalfTextKey(decoded.index)).c_str());
    case InputCodeKind::kNone:
        break;
    }
    return Text(kTextNoCode);
}

void InputSystem::PushTextReceiver(TextReceiver& receiver)
{
    textReceivers_.insert(textReceivers_.begin(), &receiver);
}

void InputSystem::RemoveTextReceiver(TextReceiver& receiver)
{
    auto found = std::find(textReceivers_.begin(), textReceivers_.end(), &receiver);
    if (found != textReceivers_.end()) {
        textReceivers_.erase(found);
    }
}

void InputSystem::OnChar(wchar_t character)
{
    if (!textReceivers_.empty()) {
        textReceivers_.front()->Type(character);
    }
}

std::array<float, 3> InputSystem::MouseMovement() const
{
    return mouseMovement_;
}

CursorPoint InputSystem::CursorPosition() const
{
    return cursor_;
}

void InputSystem::SetCursorPosition(int32_t x, int32_t y)
{
    cursor_ = {x, y};
}

int32_t InputSystem::JoystickCount() const
{
    return static_cast<int32_t>(joysticks_.size());
}

bool InputSystem::HasJoystick(int32_t controller) const
{
    return controller >= 0 && controller < JoystickCount();
}

std::unique_ptr<ForceEffect> InputSystem::CreateForceEffect(int32_t controller, const WideString& effectFile)
{
    if (!HasJoystick(controller)) {
        return std::make_unique<ForceEffect>();
    }
    return devices_->CreateForceEffect(controller, effectFile);
}

bool InputSystem::GetJoystickInfo(int32_t controller, WideString& name, int32_t& productId, int32_t& instanceId)
{
    ControllerInfo info;
    if (!HasJoystick(controller) || !devices_->GetControllerInfo(controller, info)) {
        return false;
    }
    name = info.name;
    productId = GuidId(info.productGuid);
    instanceId = GuidId(info.instanceGuid);
    return true;
}

std::array<float, 3> InputSystem::GetJoystickAxes(int32_t controller) const
{
    return HasJoystick(controller) ? joysticks_[controller].axes : std::array<float, 3>{};
}

float InputSystem::GetJoystickSlider(int32_t controller, int32_t slider) const
{
    if (!HasJoystick(controller) || slider < 0 || slider >= static_cast<int32_t>(joysticks_[controller].sliders.size())) {
        return 0.0f;
    }
    return joysticks_[controller].sliders[slider];
}

const WideString& InputSystem::Text(int32_t key) const
{
    static const WideString kNoLanguage;
    return language_ ? language_->GetText(key) : kNoLanguage;
}

std::unique_ptr<InputSystem> CreateInputSystem(LanguageTable* language)
{
    return std::make_unique<InputSystem>(std::make_unique<DirectInputDevices>(), language);
}
