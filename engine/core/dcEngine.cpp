#include "engine/core/dcEngine.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundLoaderFactory.h"
#include "engine/core/CommandLineSplit.h"
#include "engine/core/ConsoleCommand.h"
#include "engine/core/DFEngineComponent.h"
#include "engine/core/EngineCommands.h"
#include "engine/core/EngineWindowHandlers.h"
#include "engine/core/LogHub.h"
#include "engine/core/Screenshot.h"
#include "engine/core/Thread.h"
#include "engine/core/WindowMessageHandler.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ResourceFactory.h"
#include "engine/gui/Font.h"
#include "engine/gui/RtfLog.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/SpriteDrawer.h"
#include "engine/video/VideoDevice.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kBackgroundFrameTime = 0.1f;   // faster frames sleep while the window is behind others
constexpr float kBackgroundSleep = 0.05f;
constexpr float kNoModuleSleep = 0.1f;

// The statistics lines stand at the top right, one under the other.
constexpr float kStatisticsX = -180.0f;
constexpr int32_t kStatisticsAnchor = 33;   // x from the screen's right edge
constexpr float kFrameRateY = 20.0f;

struct StatisticsLine {
    int32_t flag;
    int32_t FrameStatistics::*figure;
    float y;
};

constexpr StatisticsLine kStatisticsFigures[] = {
    {dcEngine::kShowPrimitives, &FrameStatistics::primitives, 40.0f},
    {dcEngine::kShowVertices, &FrameStatistics::vertices, 60.0f},
    {dcEngine::kShowDrawCalls, &FrameStatistics::drawCalls, 80.0f},
    {dcEngine::kShowConstantUploads, &FrameStatistics::constantUploads, 100.0f},
    {dcEngine::kShowSkippedConstants, &FrameStatistics::skippedConstantSets, 120.0f},
    {dcEngine::kShowTextureSwitches, &FrameStatistics::textureSwitches, 140.0f},
};

void DrawStatisticsLine(SpriteDrawer& batch, Font& font, const WideString& text, float y)
{
    batch.DrawTextAligned(text, font, kStatisticsAnchor, {kStatisticsX, y}, kStatisticsAnchor,
                          {1.0f, 1.0f, 1.0f, 1.0f}, AlphaSpriteShader, true);
}

// Where the engine's resources lie in the file sources, by factory.
struct ResourceFolder {
    ResourceFactory& (*factory)();
    const wchar_t* folder;
};

const ResourceFolder kResourceFolders[] = {
    {TextureFactory, L"Textures"}, {TextureFactory, L"Menu"},   {ShaderFactory, L"Shaders"},
    {SoundFactory, L"Audio"},      {ModelResourceFactory, L"Models"},
};

// Sticky keys pop up a dialog when Shift is held, which a game must not.
void SwitchStickyKeysOff()
{
    STICKYKEYS stickyKeys{sizeof(STICKYKEYS), 0};
    SystemParametersInfoW(SPI_SETSTICKYKEYS, sizeof stickyKeys, &stickyKeys, 0);
}

// Room for folders deeper than MAX_PATH; the text ends at the first zero.
constexpr DWORD kDataPathLength = 1024;

WideString CurrentFolder()
{
    wchar_t folder[kDataPathLength] = {};
    GetCurrentDirectoryW(kDataPathLength, folder);
    return folder;
}

} // namespace

dcEngine::dcEngine()
    : dataPath_(CurrentFolder())
{
    SetName(L"dcEngine");
    SwitchStickyKeysOff();
}

dcEngine::~dcEngine()
{
    // The log file records everything up to the engine's very end.
    if (rtfLog_) {
        LogHub::Instance().RemoveSink(rtfLog_);
    }
    RemoveWindowHandlers();
    if (dfEngine_) {
        dfEngine_->PreShutdown(0);
        dfEngine_->Shutdown();
    }
}

dcEngine& dcEngine::Instance()
{
    static dcEngine engine;
    return engine;
}

void dcEngine::Init(int32_t logLevel)
{
    // The log file opens first, so that it has every line of the start-up.
    if (!rtfLog_) {
        auto rtfLog = std::make_unique<RtfLog>(L"Console.RTF");
        rtfLog_ = rtfLog.get();
        LogHub::Instance().AddSink(std::move(rtfLog));
    }
    dfEngine_ = CreateDFEngineComponent();
    if (dfEngine_) {
        WideString folder;
        FormatWideString(folder, "%s\\Misc\\DF", dataPath_.c_str());
        dfEngine_->Init(kDFEngineVersion, WideStringToNarrow(folder).c_str());
    }
    LogHub::Instance().SetLevel(logLevel);

    language_.FindLanguageFiles();
    language_.SelectLanguage(0);

    frameTime_ = rawFrameTime_ = 0.0f;
    frameCounter_ = 0;
    timeScale_ = 1.0f;
    SetEngineFlag(kRunning, true);
    frameTimes_.Clear();

    for (const ResourceFolder& entry : kResourceFolders) {
        entry.factory().AddFolder(entry.folder);
    }
    RegisterSoundLoaders();

    SetEngineFlag(kStacking, true);
    modules_.EnableStacking();
    frameRateTime_ = 0.0f;
    frameRateCount_ = 0;
    frameRate_ = 0.0f;

    RemoveWindowHandlers();
    windowHandlers_ = MakeEngineWindowHandlers(*this);
    for (auto& handler : windowHandlers_) {
        AddWindowMessageHandler(handler.get());
    }
}

void dcEngine::Start(std::unique_ptr<VideoDevice> video, std::unique_ptr<AudioDevice> audio,
                     std::unique_ptr<InputSystem> input, const WideString& language)
{
    SelectLanguageByName(language);
    video_ = std::move(video);
    audio_ = std::move(audio);
    input_ = std::move(input);

    auto console = std::make_unique<dcGUIConsole>(input_.get());
    console_ = console.get();
    LogHub::Instance().AddSink(std::move(console));

    SetEngineFlag(kStatisticsLines, false);
    commands_ = MakeEngineCommands(*this);
    for (auto& command : commands_) {
        AddCommand(command.get());
    }
}

void dcEngine::SetWindow(std::unique_ptr<dcWindow> window)
{
    window_ = std::move(window);
}

void dcEngine::SetSpriteBatch(std::unique_ptr<SpriteDrawer> batch)
{
    spriteBatch_ = std::move(batch);
}

void dcEngine::SetDefaultFont(std::unique_ptr<Font> font)
{
    defaultFont_ = std::move(font);
}

void dcEngine::SetTimeScale(float scale)
{
    timeScale_ = std::isnan(scale) ? kMinimumTimeScale : std::clamp(scale, kMinimumTimeScale, kMaximumTimeScale);
}

void dcEngine::SetSleepTime(float seconds)
{
    sleepTime_ = std::isnan(seconds) ? kNoSleep : std::min(seconds, kLongestSleep);
}

void dcEngine::RestoreWorkingFolder()
{
    SetCurrentDirectoryW(dataPath_.c_str());
}

void dcEngine::MeasureFrameTime()
{
    const float interval = timer_.Elapsed();
    frameTimes_.Add(interval);
    frameTime_ = timeScale_ * frameTimes_.Smoothed();
    rawFrameTime_ = interval * timeScale_;
}

// One pass: timing, input, the module steps. True when the current module
// changed, so the pass runs again at once.
bool dcEngine::RunPass()
{
    MeasureFrameTime();
    if (frameTime_ < kBackgroundFrameTime && !(window_ && window_->IsInFront())) {
        SleepSeconds(kBackgroundSleep);
    }
    if (sleepTime_ >= 0.0f) {
        SleepSeconds(sleepTime_);
    }
    MLP* current = modules_.BeginPass();
    if (!current) {
        if (console_) {
            console_->Write(L"dcEngine: No MLP loaded!");
        }
        SleepSeconds(kNoModuleSleep);
    } else {
        LogHub::PrintVerbose("dcEngine: Using %s for %.2f seconds", current->GetName().c_str(),
                             static_cast<double>(current->GetTime()));
        current->SetTime(current->GetTime() + frameTime_);
    }
    SetTime(GetTime() + frameTime_);
    if (!current || !current->HasFlag(MLP::kPollsInput)) {
        PollInput(frameTime_);
    }
    const bool changed = current && modules_.RunModuleSteps();
    if (dfEngine_) {
        dfEngine_->Update(frameTime_);
    }
    if (console_) {
        console_->Tick(frameTime_);
    }
    if (audio_) {
        audio_->Update(frameTime_);
    }
    return changed;
}

void dcEngine::RunFrame()
{
    while (RunPass()) {
    }
    if (video_) {
        video_->BeginFrame();
    }
    if (audio_) {
        audio_->AfterUpdate();
    }
    if (video_) {
        RenderFrame();
        video_->EndFrame();
        video_->Present();
    }
    CountFrameRate();
    ++frameCounter_;
    // Other parts see the runtime's random sequence advance once per frame.
    std::rand();
    RunQueuedCommands();
}

void dcEngine::RenderFrame()
{
    if (!modules_.Current()) {
        video_->Clear(kClearTarget | kClearDepth | kClearStencil, Color{1.0f, 1.0f, 1.0f, 1.0f}, 1.0f, 0);
    } else {
        modules_.RenderModules();
    }
    if (console_) {
        console_->Render();
    }
    DrawStatistics();
}

void dcEngine::DrawStatistics()
{
    if (!spriteBatch_ || !defaultFont_) {
        return;
    }
    WideString text;
    if (HasEngineFlag(kShowFrameRate)) {
        DrawStatisticsLine(*spriteBatch_, *defaultFont_, FormatWideString(text, "%.4f", static_cast<double>(frameRate_)),
                           kFrameRateY);
    }
    const FrameStatistics& counts = video_->GetFrameStatistics();
    for (const StatisticsLine& line : kStatisticsFigures) {
        if (HasEngineFlag(line.flag)) {
            DrawStatisticsLine(*spriteBatch_, *defaultFont_, FormatWideString(text, "%d", counts.*line.figure), line.y);
        }
    }
}

void dcEngine::CountFrameRate()
{
    frameRateTime_ += rawFrameTime_;
    ++frameRateCount_;
    if (frameRateTime_ >= 1.0f) {
        frameRate_ = frameRateCount_ / frameRateTime_;
        frameRateCount_ = 0;
        frameRateTime_ -= 1.0f;
    }
}

void dcEngine::PollInput(float step)
{
    const float frameTime = frameTime_;
    frameTime_ = step;
    if (input_) {
        input_->Update(step);
        if (input_->WasPressed(kKeyPrintScreen)) {
            TakeScreenshot();
            timer_.Reset();   // the time spent saving is no frame time
        }
        if (console_ && console_->IsOpen()) {
            if (input_->WasPressed(kKeyGrave) || input_->WasPressed(kKeyEscape)) {
                console_->Leave();
            } else {
                console_->HandleKeys();
            }
        } else if (console_ && input_->WasPressed(kKeyGrave)) {
            console_->Enter();
        } else if (MLP* current = modules_.Current()) {
            current->HandleInput();
        }
    }
    frameTime_ = frameTime;
}

void dcEngine::TakeScreenshot()
{
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    if (!video_ || !video_->GrabScreen(pixels, width, height)) {
        return;
    }
    WriteScreenshot(NextScreenshotName(), pixels, width, height);
}

void dcEngine::RunQueuedCommands()
{
    if (!console_) {
        return;
    }
    WideString line;
    while (console_->TakeCommand(line)) {
        const CommandLineParts parts = SplitCommandLine(line);
        bool ran = false;
        for (MLP* stacked : std::vector<MLP*>(modules_.Entries())) {
            if (stacked && stacked->RunCommand(parts.name, parts.arguments)) {
                ran = true;
            }
        }
        MLP* current = modules_.Current();
        if (current && current->RunCommand(parts.name, parts.arguments)) {
            continue;
        }
        if (ran || RunCommand(parts.name, parts.arguments) || console_->RunCommand(parts.name, parts.arguments)) {
            continue;
        }
        console_->Write(L"Command not recognized");
    }
    console_->ClearQueue();
}

void dcEngine::RemoveWindowHandlers()
{
    for (auto& handler : windowHandlers_) {
        RemoveWindowMessageHandler(handler.get());
    }
    windowHandlers_.clear();
}

void dcEngine::Shutdown()
{
    if (console_) {
        LogHub::Instance().RemoveSink(console_);   // handed back and destroyed
        console_ = nullptr;
    }
    defaultFont_.reset();
    // Its buffers and effects belong with the device: nothing draws after shutdown.
    spriteBatch_.reset();
    // Stops and joins every sound thread; the window outlives the device.
    audio_.reset();
    video_.reset();
    input_.reset();
    RemoveWindowHandlers();
    window_.reset();
    for (const ResourceFolder& entry : kResourceFolders) {
        entry.factory().RemoveFolder(entry.folder);
    }
}
