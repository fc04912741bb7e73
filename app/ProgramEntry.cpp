// The program's entry function: switches, file sources, the engine and its
// devices, the front end, the intro, the frame loop and shutdown. The one
// place that knows every library and wires them together.

#include "app/StartupOptions.h"
#include "editor/MissionEditor.h"
#include "engine/audio/AudioDevice.h"
#include "engine/audio/IntroMusic.h"
#include "engine/audio/SoundGroups.h"
#include "engine/core/LogHub.h"
#include "engine/core/MoviePlayer.h"
#include "engine/core/ProgramState.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/PackArchive.h"
#include "engine/files/RandomRange.h"
#include "engine/gui/GdiFont.h"
#include "engine/input/InputSystem.h"
#include "engine/physics/PhysicsLibrary.h"
#include "engine/video/VideoDevice.h"
#include "frontend/FrontEnd.h"
#include "render/sprites/EngineSpriteBatch.h"
#include "render/sprites/RendererGuiResources.h"

#include <windows.h>

namespace {

constexpr float kFirstInputStep = 0.1f;
constexpr int kNoRendererExitCode = 2;
constexpr int32_t kFontFaceKey = 555660;
constexpr int32_t kDefaultFontSize = 14;

void MountFileSources()
{
    // Loose files first, so they override the packed ones.
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
}

std::unique_ptr<dcWindow> CreateEngineWindow(bool fullScreen)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    return std::make_unique<dcWindow>(L"Varnholt", EngineWindowRect(desktop.right, desktop.bottom, fullScreen),
                                      fullScreen);
}

// The console's, the statistics' and the menus' font. The face comes with
// the game as a loose file, so it exists whatever fonts the system has.
void MakeDefaultFont(dcEngine& engine)
{
    AddFontFile(L"Fonts\\HUD Font.TTF");
    engine.SetDefaultFont(MakeFont(kGlyphsAll, engine.GetLanguage().GetText(kFontFaceKey), kDefaultFontSize, true,
                                   0.0f, 0.0f, {1.0f, 1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}));
}

void StartMenus(const StartupOptions& options, dcEngine& engine)
{
    if (options.testStart) {
        testMode = true;
        StartTestGame();
        introMusicVoice = nullptr;
        return;
    }
    if (options.introMovies) {
        PlayIntroMovies(*engine.GetWindow());
    }
    engine.SetMLP(GetMainMenuScreen(), true);
    introMusicVoice = StartIntroMusic(*engine.GetAudioDevice(), MusicSoundGroup());
}

void RunFrames(dcEngine& engine)
{
    while (engine.IsRunning()) {
        engine.RunFrame();
        engine.GetWindow()->PumpMessages();
        if (AdvanceSettingsSaveCountdown(engine.GetFrameTime())) {
            SaveSettings();
        }
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine, int showCommand)
{
    SeedRandomSequence();   // before anything draws: hosted games' ids among others
    startupArguments = {instance, previousInstance, commandLine, showCommand};
    const StartupOptions options = ParseCommandLine(commandLine ? commandLine : L"");
    if (options.editorAlone) {
        return RunMissionEditorAlone(startupArguments);
    }
    testMode = options.testMode;

    MountFileSources();
    dcEngine& engine = dcEngine::Instance();
    engine.Init(options.logLevel);
    engine.SetWindow(CreateEngineWindow(options.fullScreen));
    engine.GetWindow()->Show();

    std::unique_ptr<InputSystem> input = CreateInputSystem(&engine.GetLanguage());
    InputSystem* inputSystem = input.get();
    std::unique_ptr<AudioDevice> audio = CreateAudioDevice(0);
    engine.Start(CreateVideoDevice(), std::move(audio), std::move(input), L"English");
    if (!SetMenuVideoMode()) {
        // Without a renderer there is nothing to show: end cleanly.
        LogHub::Printf("Shutting down...");
        engine.Shutdown();
        return kNoRendererExitCode;
    }
    InstallGuiResources();
    MakeDefaultFont(engine);
    engine.GetAudioDevice()->Init(0, engine.GetWindow());
    inputSystem->Init(*engine.GetWindow(), options.fullScreen);
    BuildFrontEnd();
    SetMenuVideoMode();
    StartMenus(options, engine);
    inputSystem->Update(kFirstInputStep);
    CreateSpriteBatch(engine);

    RunFrames(engine);

    LogHub::Printf("Shutting down...");
    introMusicVoice = nullptr;   // the audio device's shutdown destroys it
    ShutdownFrontEnd();          // the game's and the menus' resources go while the devices live
    engine.Shutdown();
    ClosePhysicsLibrary();
    SaveSettings();
    return 0;
}
