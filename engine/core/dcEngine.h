#pragma once
// The one engine object: it owns the devices, the window, the console and the
// module stack, and runs one frame at a time for the program's loop. It is an
// MLP itself: its command map holds the engine's console commands and its
// time accumulates the total running time. It is never stacked.

#include "engine/core/FrameTimeRing.h"
#include "engine/core/MLP.h"
#include "engine/core/MLPStack.h"
#include "engine/core/Timer.h"
#include "engine/files/LanguageTable.h"

#include <memory>
#include <vector>

class AudioDevice;
class ConsoleCommand;
class DFEngine;
class Font;
class InputSystem;
class LogSink;
class SpriteDrawer;
class VideoDevice;
class dcGUIConsole;
class dcWindow;

class dcEngine : public MLP {
public:
    enum Flags : int32_t {
        kRunning = 1,
        kStacking = 2,
        kShowFrameRate = 4,
        kShowPrimitives = 8,
        kShowVertices = 16,
        kShowDrawCalls = 32,
        kShowConstantUploads = 64,
        kShowSkippedConstants = 128,
        kShowTextureSwitches = 256,
        kStatisticsLines = 0x1FC,
    };

    // Scales beyond these make frame times useless to the modules; a longer
    // sleep would leave the game deaf to the console that could undo it.
    static constexpr float kMinimumTimeScale = 0.01f;
    static constexpr float kMaximumTimeScale = 100.0f;
    static constexpr float kLongestSleep = 1.0f;
    static constexpr float kNoSleep = -1.0f;

    ~dcEngine() override;
    dcEngine(const dcEngine&) = delete;
    dcEngine& operator=(const dcEngine&) = delete;

    // The one engine of the process, made on first use (its data path is the
    // working folder then) and destroyed at exit.
    static dcEngine& Instance();

    // Everything that needs no device: the log file "Console.RTF" (once),
    // the component, the log level, the languages, the resource folders,
    // the window's handlers.
    void Init(int32_t logLevel);
    // The devices, the graphical console and the engine's commands.
    void Start(std::unique_ptr<VideoDevice> video, std::unique_ptr<AudioDevice> audio,
               std::unique_ptr<InputSystem> input, const WideString& language);
    void RunFrame();
    void PollInput(float step);
    void Shutdown();

    void SetMLP(MLP* module, bool enter) { modules_.Set(module, enter); }
    void PushMLP(MLP* module, bool enter) { modules_.Push(module, enter); }
    void PushMLPWithFade(MLP* module, bool fadeIn) { modules_.PushWithFade(module, fadeIn); }
    MLP* GetCurrentMLP() const { return modules_.Current(); }
    MLPStack& GetModules() { return modules_; }

    void SelectLanguage(int32_t index) { language_.SelectLanguage(index); }
    bool SelectLanguageByName(const WideString& name) { return language_.SelectLanguageByName(name); }
    LanguageTable& GetLanguage() { return language_; }
    void RestoreWorkingFolder();

    // Runs the console's queued lines through the modules, then the engine's
    // and the console's own commands.
    void RunQueuedCommands();

    bool IsRunning() const { return HasEngineFlag(kRunning); }
    void Stop() { SetEngineFlag(kRunning, false); }
    bool HasEngineFlag(int32_t flag) const { return (flags_ & flag) != 0; }
    void SetEngineFlag(int32_t flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }

    float GetFrameTime() const { return frameTime_; }
    float GetRawFrameTime() const { return rawFrameTime_; }
    int32_t GetFrameCounter() const { return frameCounter_; }
    float GetFrameRate() const { return frameRate_; }
    float GetTimeScale() const { return timeScale_; }
    // Kept within the scale limits; a NaN gives the smallest.
    void SetTimeScale(float scale);
    float GetSleepTime() const { return sleepTime_; }
    // Extra sleep per pass, at most kLongestSleep; negative (or NaN) for none.
    void SetSleepTime(float seconds);
    FrameTimeRing& GetFrameTimes() { return frameTimes_; }
    // Reads the system's clocks unless a test gives its own.
    Timer& GetTimer() { return timer_; }
    const WideString& GetDataPath() const { return dataPath_; }

    void SetWindow(std::unique_ptr<dcWindow> window);
    dcWindow* GetWindow() const { return window_.get(); }
    VideoDevice* GetVideoDevice() const { return video_.get(); }
    AudioDevice* GetAudioDevice() const { return audio_.get(); }
    InputSystem* GetInputSystem() const { return input_.get(); }
    dcGUIConsole* GetConsole() const { return console_; }
    // The one sprite batch, made by the renderer on the video device.
    void SetSpriteBatch(std::unique_ptr<SpriteDrawer> batch);
    SpriteDrawer* GetSpriteBatch() const { return spriteBatch_.get(); }
    // The font of the console, the statistics and the menus' texts.
    void SetDefaultFont(std::unique_ptr<Font> font);
    Font* GetDefaultFont() const { return defaultFont_.get(); }
    DFEngine* GetDFEngine() const { return dfEngine_; }

private:
    dcEngine();

    bool RunPass();
    void MeasureFrameTime();
    void RenderFrame();
    void CountFrameRate();
    void DrawStatistics();
    void TakeScreenshot();
    void RemoveWindowHandlers();

    MLPStack modules_;
    FrameTimeRing frameTimes_;
    Timer timer_;
    LanguageTable language_;
    WideString dataPath_;
    float sleepTime_ = kNoSleep;
    int32_t flags_ = 0;
    float frameRateTime_ = 0.0f;
    int32_t frameRateCount_ = 0;
    float frameRate_ = 0.0f;
    float rawFrameTime_ = 0.0f;
    float frameTime_ = 0.0f;
    int32_t frameCounter_ = 0;
    float timeScale_ = 1.0f;
    std::unique_ptr<VideoDevice> video_;
    std::unique_ptr<AudioDevice> audio_;
    std::unique_ptr<InputSystem> input_;
    std::unique_ptr<dcWindow> window_;
    std::unique_ptr<SpriteDrawer> spriteBatch_;
    std::unique_ptr<Font> defaultFont_;
    dcGUIConsole* console_ = nullptr;   // owned by the log hub while attached
    LogSink* rtfLog_ = nullptr;         // owned by the log hub while attached
    DFEngine* dfEngine_ = nullptr;
    std::vector<std::unique_ptr<ConsoleCommand>> commands_;
    std::vector<std::unique_ptr<class WindowMessageHandler>> windowHandlers_;
};
