#pragma once
// The engine as the menus and the console see it, without a renderer: the
// engine singleton started on scripted input, an audio device that records
// the one-shot sounds asked for (the game's sample sounds mounted, so they
// are found), and a default font whose every glyph is equally wide. Frames
// of input run through the engine's input step, so the current module gets
// the input with the step as its frame time.

#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/LanguageTable.h"
#include "engine/gui/Font.h"
#include "engine/gui/TextWidget.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "tests/engine/audio/AudioTestSupport.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

// Every glyph takes the same room; no texture pages.
class FixedFont : public Font {
public:
    FixedFont(float advance, int32_t size) : Font(L"Fixed", size, false), advance_(advance) {}

    void Rasterize(const CharList& characters) override
    {
        std::vector<GlyphCell> cells;
        for (wchar_t c : characters) {
            cells.push_back({c, 0.0f, 0.0f, advance_, static_cast<float>(GetSize()), advance_});
        }
        AddPage(std::make_unique<FontPage>(), cells);
    }

private:
    float advance_;
};

// A text widget that counts its activations.
class CountingWidget : public TextWidget {
public:
    explicit CountingWidget(const WideString& text = L"Item", Font* font = nullptr) : TextWidget(text, font) {}
    void Activate(int32_t how) override { activations.push_back(how); }

    std::vector<int32_t> activations;
};

// Keeps the names of the one-shot sounds it is asked to play, upper case.
class RecordingAudio : public AudioDevice {
public:
    bool Init(int32_t, dcWindow*) override { return true; }
    void Update(float) override {}
    void AfterUpdate() override {}
    void SetMaxChannels(int32_t) override {}
    // No voices: sounds that keep a voice stay silent.
    Voice* CreateVoice(SoundRef&) override { return nullptr; }
    void DestroyVoice(Voice*) override {}
    void PlayOnceAt(SoundRef&, const Vec3&, float, float, float, VoiceHandle*) override {}
    void PlayOnceSound(SoundRef& ref, float, VoiceHandle*) override
    {
        WideString name = ref.fileName.substr(ref.fileName.find_last_of(L'\\') + 1);
        WideStringToUpper(name);
        played.push_back(name);
    }
    void ReleaseHandle(VoiceHandle*) override {}
    void SetMasterVolume(float) override {}
    void SetGlobalPitch(float) override {}

    // How often the sound was played since the last Forget.
    int32_t Count(WideString name) const
    {
        WideStringToUpper(name);
        return static_cast<int32_t>(std::count(played.begin(), played.end(), name));
    }
    void Forget() { played.clear(); }

    std::vector<WideString> played;
};

class GuiTest : public testing::Test {
protected:
    static constexpr float kFrame = 1.0f / 60.0f;
    static constexpr float kAdvance = 10.0f;   // pixels per glyph of the default font
    static constexpr int32_t kFontSize = 14;
    static constexpr int32_t kWindowLeft = 100;
    static constexpr int32_t kWindowTop = 50;

    GuiTest() : window(L"GUI test", {0, 0, 800, 600}, false)
    {
        window.SetPosition(kWindowLeft, kWindowTop);
        window.SetClientSize(800, 600);
        auto devices = std::make_unique<ScriptedInputDevices>();
        scripted = devices.get();
        auto input = std::make_unique<InputSystem>(std::move(devices), &language);
        input->Init(window, false);
        auto recording = std::make_unique<RecordingAudio>();
        audio = recording.get();
        // A folder in place of the log file: the engine's log sink then writes nothing here.
        std::filesystem::create_directory("Console.RTF");
        engine.Start(nullptr, std::move(recording), std::move(input), L"English");
        engine.SetDefaultFont(std::make_unique<FixedFont>(kAdvance, kFontSize));
        sounds = std::make_unique<MountedSounds>(L"sample");
        MoveCursor(400, 300);
    }
    ~GuiTest() override
    {
        // The engine outlives the test's modules.
        static MLP nothing;
        engine.SetMLP(&nothing, false);
        engine.Shutdown();
    }

    InputSystem& Input() { return *engine.GetInputSystem(); }

    // The cursor, in the window's pixels, from the next frame on.
    void MoveCursor(int32_t x, int32_t y)
    {
        scripted->screenX = kWindowLeft + x;
        scripted->screenY = kWindowTop + y;
    }
    // One frame of the engine's input step with these keys going down or up.
    void Keys(std::vector<ButtonEvent> events, float dt = kFrame)
    {
        scripted->keyEvents = std::move(events);
        engine.PollInput(dt);
    }
    // Events name the mouse's buttons 0 to 7, not their input codes.
    void Clicks(std::vector<ButtonEvent> events, float dt = kFrame)
    {
        scripted->mouse.buttons = std::move(events);
        engine.PollInput(dt);
    }
    void MouseMove(int32_t x, int32_t y, int32_t wheel)
    {
        scripted->mouse.x = x;
        scripted->mouse.y = y;
        scripted->mouse.wheel = wheel;
        engine.PollInput(kFrame);
    }
    void Frames(int32_t count, float dt = kFrame)
    {
        for (int32_t i = 0; i < count; ++i) {
            engine.PollInput(dt);
        }
    }
    void Press(int32_t key)
    {
        Keys({{key, true}});
        Keys({{key, false}});
    }

    dcEngine& engine = dcEngine::Instance();
    ScratchFolder scratch;
    LanguageTable language;
    dcWindow window;
    ScriptedInputDevices* scripted;
    RecordingAudio* audio;
    std::unique_ptr<MountedSounds> sounds;
};
