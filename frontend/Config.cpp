#include "frontend/Config.h"

#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/ReplacingFileWrite.h"
#include "engine/gui/MenuSounds.h"
#include "frontend/SettingsOptions.h"
#include "frontend/VideoModes.h"

#include <algorithm>

namespace {

constexpr int32_t kDefaultTextureDetail = 2;
constexpr int32_t kDefaultDetailLevel = 1;
constexpr int32_t kDefaultReflections = 0;
constexpr int32_t kDefaultGamma1 = 10;
constexpr int32_t kDefaultGamma2 = 25;
constexpr float kDefaultVolume = 0.6f;
constexpr int32_t kDefaultMouseSensitivity = 49;   // the entry "50"

// The entry of the video-mode list equal to the text; the first when none is.
int32_t FindVideoMode(const WideString& text)
{
    const std::vector<WideString>& texts = GetSettingsOptions().GetVideoModeTexts();
    const auto found = std::find(texts.begin(), texts.end(), text);
    return found == texts.end() ? 0 : static_cast<int32_t>(found - texts.begin());
}

void SetMultiplayerDefaults(ConfigFields& fields)
{
    fields.hostName = L"Tolvar Host";
    fields.mpScript = L"MP\\DM.dcScript";
    fields.scoreLimit = 25;
    fields.timeLimit = 10;
    fields.mpReserved = 0.25f;
    fields.maxPlayers = 16;
    fields.playerName = L"Yasmin";
    fields.carName = L"USport";
    fields.teamIndex = 0;
}

} // namespace

void Config::Load()
{
    // A file is applied only when it read whole, so each option's effect runs once.
    if (!FileExists(kFileName) || !Read()) {
        SetDefaults();
    }
}

bool Config::Read()
{
    std::unique_ptr<Stream> in = OpenFile(kFileName);
    ConfigFileContent content;
    if (!ReadConfigFile(*in, content)) {
        return false;
    }
    ApplyOptions(content.options);
    static_cast<ConfigFields&>(*this) = std::move(content.fields);
    return true;
}

void Config::SetDefaults()
{
    SavedOptions defaults;
    defaults.videoMode = VideoModeText(kDefaultVideoMode);
    defaults.textureDetail = kDefaultTextureDetail;
    defaults.detailLevel = kDefaultDetailLevel;
    defaults.reflections = kDefaultReflections;
    defaults.gamma1 = kDefaultGamma1;
    defaults.gamma2 = kDefaultGamma2;
    defaults.soundVolume = kDefaultVolume;
    defaults.musicVolume = kDefaultVolume;
    defaults.bindings = kDefaultBindingCodes;
    defaults.mouseSensitivity = kDefaultMouseSensitivity;
    ApplyOptions(defaults);
    SetMultiplayerDefaults(*this);
}

void Config::Save()
{
    const ConfigFileContent content{CollectOptions(), *this};
    WriteFileReplacing(kFileName, [&content](WriteStream& out) { WriteConfigFile(out, content); });
}

void Config::RecordReachedScript(const WideString& script)
{
    currentScript = script;
    std::vector<WideString>& reached = reachedScripts.at(std::clamp(currentCharacter, 0, kSinglePlayerCharacters - 1));
    if (std::find(reached.begin(), reached.end(), script) == reached.end()) {
        reached.push_back(script);
    }
    Save();
}

void Config::ApplyGameVideoMode()
{
    Save();
    MenuSoundGroup().SetVolume(0.0f);
    // The modes are the display's full-screen ones; a window keeps the size
    // it was made with, the menus' 800 x 600.
    const dcWindow* window = dcEngine::Instance().GetWindow();
    const SettingsOptions& options = GetSettingsOptions();
    VideoMode mode = kDefaultVideoMode;
    if (window && window->IsFullScreen() &&
        options.videoMode.value < static_cast<int32_t>(options.GetVideoModeTexts().size())) {
        ParseVideoModeText(options.GetVideoModeTexts()[options.videoMode.value], mode);
    }
    SwitchVideoMode({mode.width, mode.height});
}

SavedOptions Config::CollectOptions() const
{
    const SettingsOptions& options = GetSettingsOptions();
    SavedOptions saved;
    const std::vector<WideString>& modes = options.GetVideoModeTexts();
    saved.videoMode = options.videoMode.value < static_cast<int32_t>(modes.size()) ? modes[options.videoMode.value]
                                                                                  : VideoModeText(kDefaultVideoMode);
    saved.textureDetail = options.textureDetail.value;
    saved.detailLevel = options.detailLevel.value;
    saved.reflections = options.reflections.value;
    saved.gamma1 = options.gamma1.value;
    saved.gamma2 = options.gamma2.value;
    saved.soundVolume = options.soundVolume.value;
    saved.musicVolume = options.musicVolume.value;
    for (int32_t i = 0; i < kBindingCount; ++i) {
        const ControlBinding& binding = options.bindings[i].value;
        saved.bindings[i] = {binding.primaryCode, binding.secondaryCode};
    }
    saved.mouseSensitivity = options.mouseSensitivity.value;
    return saved;
}

void Config::ApplyOptions(const SavedOptions& saved)
{
    SettingsOptions& options = GetSettingsOptions();
    options.videoMode.Propose(FindVideoMode(saved.videoMode));
    options.textureDetail.Propose(saved.textureDetail);
    options.detailLevel.Propose(saved.detailLevel);
    options.reflections.Propose(saved.reflections);
    options.gamma1.Propose(saved.gamma1);
    options.gamma2.Propose(saved.gamma2);
    options.soundVolume.Propose(saved.soundVolume);
    options.musicVolume.Propose(saved.musicVolume);
    for (int32_t i = 0; i < kBindingCount; ++i) {
        StoreBindingCodes(options.bindings[i].value, saved.bindings[i]);
    }
    options.mouseSensitivity.Propose(saved.mouseSensitivity);
}

Config& GetConfig()
{
    static Config config;
    return config;
}
