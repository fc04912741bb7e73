#include "engine/input/DirectInputDevices.h"

#include "engine/core/ComRelease.h"
#include "engine/core/LogHub.h"
#include "engine/input/ForceEffect.h"
#include "engine/input/InputCodes.h"

#include <windows.h>

#include <dinput.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>

namespace {

// Events each device buffers between two updates.
constexpr DWORD kKeyboardBufferSize = 32;
constexpr DWORD kMouseBufferSize = 512;
constexpr DWORD kControllerBufferSize = 32;
constexpr DWORD kDownBit = 0x80;
// Lets an effect file's parameters be adjusted to what the device can play;
// mingw's dinput.h lacks the flag.
constexpr DWORD kEffectFileModifyIfNeeded = 0x00000010;

// DirectInput wants the top-level window for its cooperative levels.
HWND TopLevelWindow(HWND window)
{
    while (window && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
        window = GetParent(window);
    }
    return window;
}

// COM is held only while the system devices are created.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope()
    {
        if (initialised_) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

void ReleaseDevice(IDirectInputDevice8W*& device)
{
    if (device) {
        device->Unacquire();
        device->Release();
        device = nullptr;
    }
}

// A device property record with its header filled in for the object named.
template <class Property>
Property DeviceProperty(DWORD how, DWORD object)
{
    Property property{};
    property.diph.dwSize = sizeof(property);
    property.diph.dwHeaderSize = sizeof(property.diph);
    property.diph.dwHow = how;
    property.diph.dwObj = object;
    return property;
}

bool SetBufferSize(IDirectInputDevice8W* device, DWORD events)
{
    DIPROPDWORD property = DeviceProperty<DIPROPDWORD>(DIPH_DEVICE, 0);
    property.dwData = events;
    return SUCCEEDED(device->SetProperty(DIPROP_BUFFERSIZE, &property.diph));
}

// Range of every axis and hat, so that all controllers read alike.
BOOL CALLBACK SetObjectRange(const DIDEVICEOBJECTINSTANCEW* object, void* context)
{
    DIPROPRANGE range = DeviceProperty<DIPROPRANGE>(DIPH_BYID, object->dwType);
    range.lMin = -kControllerAxisRange;
    range.lMax = kControllerAxisRange;
    static_cast<IDirectInputDevice8W*>(context)->SetProperty(DIPROP_RANGE, &range.diph);
    return DIENUM_CONTINUE;
}

struct ControllerEnumeration {
    IDirectInput8W* directInput;
    std::vector<IDirectInputDevice8W*>* controllers;
};

BOOL CALLBACK AddController(const DIDEVICEINSTANCEW* instance, void* context)
{
    auto* enumeration = static_cast<ControllerEnumeration*>(context);
    IDirectInputDevice8W* device = nullptr;
    if (SUCCEEDED(enumeration->directInput->CreateDevice(instance->guidInstance, &device, nullptr))) {
        enumeration->controllers->push_back(device);
    }
    return DIENUM_CONTINUE;
}

struct EffectFileLoad {
    IDirectInputDevice8W* device;
    std::vector<IDirectInputEffect*> effects;
};

BOOL CALLBACK CreateFileEffect(const DIFILEEFFECT* entry, void* context)
{
    auto* load = static_cast<EffectFileLoad*>(context);
    IDirectInputEffect* effect = nullptr;
    if (SUCCEEDED(load->device->CreateEffect(entry->GuidEffect, entry->lpDiEffect, &effect, nullptr))) {
        load->effects.push_back(effect);
    }
    return DIENUM_CONTINUE;
}

// Creates a system device with its data format, cooperative level and event
// buffer; nullptr when any of them fails.
IDirectInputDevice8W* OpenSystemDevice(IDirectInput8W* directInput, REFGUID guid, const DIDATAFORMAT& format,
                                       HWND window, DWORD cooperation, DWORD bufferSize)
{
    IDirectInputDevice8W* device = nullptr;
    if (FAILED(directInput->CreateDevice(guid, &device, nullptr))) {
        return nullptr;
    }
    if (FAILED(device->SetDataFormat(&format)) || FAILED(device->SetCooperativeLevel(window, cooperation)) ||
        !SetBufferSize(device, bufferSize)) {
        device->Release();
        return nullptr;
    }
    // Fails while the window is in the background; every read tries again.
    device->Acquire();
    return device;
}

// The device's buffered events since the last fetch. A failed fetch acquires
// the device again for the next one.
DeviceRead FetchEvents(IDirectInputDevice8W* device, DWORD capacity, std::vector<DIDEVICEOBJECTDATA>& events)
{
    events.clear();
    if (!device) {
        return DeviceRead::kFailed;
    }
    events.resize(capacity);
    DWORD count = capacity;
    const HRESULT result = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events.data(), &count, 0);
    if (FAILED(result)) {
        events.clear();
        device->Acquire();
        return result == DIERR_NOTACQUIRED ? DeviceRead::kNotAcquired : DeviceRead::kFailed;
    }
    events.resize(std::min(count, capacity));
    return DeviceRead::kRead;
}

// The button events among a device's events, whose buttons lie at one offset after another.
void AppendButtonEvents(const std::vector<DIDEVICEOBJECTDATA>& events, DWORD firstButton, int32_t buttonCount,
                        std::vector<ButtonEvent>& buttons)
{
    for (const DIDEVICEOBJECTDATA& event : events) {
        if (event.dwOfs >= firstButton && event.dwOfs - firstButton < static_cast<DWORD>(buttonCount)) {
            buttons.push_back({static_cast<int32_t>(event.dwOfs - firstButton), (event.dwData & kDownBit) != 0});
        }
    }
}

} // namespace

DirectInputDevices::~DirectInputDevices()
{
    Close();
}

void DirectInputDevices::Open(HWND__* window, bool fullScreen)
{
    Close();
    const HWND topLevel = TopLevelWindow(window);
    {
        ComScope com;
        if (!CreateDirectInput() || !OpenKeyboard(topLevel) || !OpenMouse(topLevel, fullScreen)) {
            return;
        }
    }
    OpenControllers(topLevel);
}

bool DirectInputDevices::CreateDirectInput()
{
    const HRESULT result = DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                              reinterpret_cast<void**>(&directInput_), nullptr);
    if (SUCCEEDED(result)) {
        return true;
    }
    directInput_ = nullptr;
    if (result == DIERR_OLDDIRECTINPUTVERSION) {
        LogHub::PrintVerbose("ENGINE: Old DX version detected. Upgrade your DirectX runtime");
    } else if (result == DIERR_BETADIRECTINPUTVERSION) {
        LogHub::PrintVerbose("ENGINE: Beta DX detected. Upgrade your DirectX runtime");
    } else {
        LogHub::PrintVerbose("ENGINE: Failed initing input");
    }
    return false;
}

bool DirectInputDevices::OpenKeyboard(HWND__* window)
{
    keyboard_ = OpenSystemDevice(directInput_, GUID_SysKeyboard, c_dfDIKeyboard, window,
                                 DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY, kKeyboardBufferSize);
    if (!keyboard_) {
        return false;
    }
    LogHub::PrintVerbose("ENGINE: Keyboard inited");
    return true;
}

bool DirectInputDevices::OpenMouse(HWND__* window, bool fullScreen)
{
    const DWORD sharing = fullScreen ? DISCL_EXCLUSIVE : DISCL_NONEXCLUSIVE;
    mouse_ = OpenSystemDevice(directInput_, GUID_SysMouse, c_dfDIMouse2, window, sharing | DISCL_FOREGROUND,
                              kMouseBufferSize);
    if (!mouse_) {
        return false;
    }
    LogHub::PrintVerbose("ENGINE: Mouse inited");
    return true;
}

void DirectInputDevices::OpenControllers(HWND__* window)
{
    ControllerEnumeration enumeration{directInput_, &controllers_};
    directInput_->EnumDevices(DI8DEVCLASS_GAMECTRL, AddController, &enumeration, DIEDFL_ATTACHEDONLY);
    for (int32_t controller = 0; controller < ControllerCount(); ++controller) {
        SetUpController(controller, window);
    }
}

// A controller whose set-up fails stays in the list: its reads fail and its
// buttons read as released, but its codes keep their numbers.
void DirectInputDevices::SetUpController(int32_t controller, HWND__* window)
{
    LogHub::PrintVerbose("ENGINE: Setting up joystick %d", controller);
    IDirectInputDevice8W* device = controllers_[controller];
    device->SetDataFormat(&c_dfDIJoystick2);
    device->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    device->EnumObjects(SetObjectRange, device, DIDFT_AXIS | DIDFT_POV);
    if (SetBufferSize(device, kControllerBufferSize)) {
        device->Acquire();
        LogHub::PrintVerbose("ENGINE: Joystick %d set up", controller);
    }
}

void DirectInputDevices::Close()
{
    ReleaseDevice(keyboard_);
    ReleaseDevice(mouse_);
    for (IDirectInputDevice8W*& controller : controllers_) {
        ReleaseDevice(controller);
    }
    controllers_.clear();
    ReleaseInterface(directInput_);
}

DeviceRead DirectInputDevices::ReadKeyboard(std::vector<ButtonEvent>& events)
{
    std::vector<DIDEVICEOBJECTDATA> data;
    const DeviceRead read = FetchEvents(keyboard_, kKeyboardBufferSize, data);
    // The keyboard's data format puts each key at the offset of its scan code.
    AppendButtonEvents(data, 0, kKeyCount, events);
    return read;
}

DeviceRead DirectInputDevices::ReadMouse(MouseReport& report)
{
    std::vector<DIDEVICEOBJECTDATA> data;
    const DeviceRead read = FetchEvents(mouse_, kMouseBufferSize, data);
    for (const DIDEVICEOBJECTDATA& event : data) {
        // Movement steps are signed, carried in the unsigned data field.
        const auto step = static_cast<LONG>(event.dwData);
        switch (event.dwOfs) {
        case DIMOFS_X:
            report.x += step;
            break;
        case DIMOFS_Y:
            report.y += step;
            break;
        case DIMOFS_Z:
            report.wheel += step;
            break;
        default:
            break;
        }
    }
    AppendButtonEvents(data, DIMOFS_BUTTON0, kMouseButtonCount, report.buttons);
    return read;
}

bool DirectInputDevices::ReadScreenCursor(int32_t& x, int32_t& y)
{
    POINT position{};
    if (!GetCursorPos(&position)) {
        return false;
    }
    x = position.x;
    y = position.y;
    return true;
}

int32_t DirectInputDevices::ControllerCount() const
{
    return static_cast<int32_t>(controllers_.size());
}

bool DirectInputDevices::HasController(int32_t controller) const
{
    return controller >= 0 && controller < ControllerCount();
}

bool DirectInputDevices::ReadControllerValues(int32_t controller, ControllerValues& values)
{
    if (!HasController(controller)) {
        return false;
    }
    IDirectInputDevice8W* device = controllers_[controller];
    device->Poll();
    DIJOYSTATE2 state{};
    if (FAILED(device->GetDeviceState(sizeof(state), &state))) {
        return false;
    }
    values.axes = {state.lX, state.lY, state.lZ};
    values.sliders = {state.rglSlider[0], state.rglSlider[1]};
    return true;
}

DeviceRead DirectInputDevices::ReadControllerButtons(int32_t controller, std::vector<ButtonEvent>& events)
{
    std::vector<DIDEVICEOBJECTDATA> data;
    const DeviceRead read = FetchEvents(HasController(controller) ? controllers_[controller] : nullptr,
                                        kControllerBufferSize, data);
    // Axis and hat events are left out: their values are read from the state.
    AppendButtonEvents(data, DIJOFS_BUTTON0, kControllerButtonCount, events);
    return read;
}

bool DirectInputDevices::GetKeyName(int32_t key, WideString& name)
{
    if (!keyboard_) {
        return false;
    }
    DIPROPSTRING property = DeviceProperty<DIPROPSTRING>(DIPH_BYOFFSET, static_cast<DWORD>(key));
    if (FAILED(keyboard_->GetProperty(DIPROP_KEYNAME, &property.diph))) {
        return false;
    }
    property.wsz[MAX_PATH - 1] = L'\0';
    name = property.wsz;
    return true;
}

bool DirectInputDevices::GetControllerInfo(int32_t controller, ControllerInfo& info)
{
    if (!HasController(controller)) {
        return false;
    }
    DIDEVICEINSTANCEW instance{};
    instance.dwSize = sizeof(instance);
    if (FAILED(controllers_[controller]->GetDeviceInfo(&instance))) {
        return false;
    }
    instance.tszInstanceName[MAX_PATH - 1] = L'\0';
    info.name = instance.tszInstanceName;
    static_assert(sizeof(GUID) == sizeof(info.productGuid));
    std::memcpy(info.productGuid.data(), &instance.guidProduct, sizeof(GUID));
    std::memcpy(info.instanceGuid.data(), &instance.guidInstance, sizeof(GUID));
    return true;
}

std::unique_ptr<ForceEffect> DirectInputDevices::CreateForceEffect(int32_t controller, const WideString& fileName)
{
    if (!HasController(controller)) {
        return std::make_unique<ForceEffect>();
    }
    EffectFileLoad load{controllers_[controller], {}};
    load.device->EnumEffectsInFile(fileName.c_str(), CreateFileEffect, &load, kEffectFileModifyIfNeeded);
    return std::make_unique<ForceEffect>(std::move(load.effects));
}
