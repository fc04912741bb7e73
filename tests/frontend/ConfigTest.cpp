// First: it includes the Win32 headers ahead of the engine's.
#include "tests/frontend/SettingsTestSupport.h"

#include "engine/audio/SoundGroups.h"
#include "engine/gui/MenuSounds.h"
#include "frontend/FrontEnd.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/DamagedCopies.h"

#include <cmath>

namespace {

constexpr int32_t kDefaultCodes[34] = {200, -1, 208, -1, 203, -1, 205, -1, 48, 257, 28,  156, 57, 56, 42, 54, 58,
                                       -1,  29, 157, 35, -1, 38, -1,  19, -1,  255, -1, 256, -1, 82, -1, 79, -1};

// Fields 1 to 12: the header and the option values, at their defaults but
// for the music volume.
FileImage OptionsPart(float musicVolume = 0.6f)
{
    FileImage file;
    file.Bytes("DC2").Int32(0x10000001).Narrow("800*600@32");
    for (int32_t value : {2, 1, 0, 10, 25}) {
        file.Int32(value);
    }
    file.Float(0.6f).Float(musicVolume);
    for (int32_t code : kDefaultCodes) {
        file.Int32(code);
    }
    return file.Int32(49);
}

// Fields 13 to 25 as the defaults leave them.
FileImage FieldsPart()
{
    FileImage file;
    file.Narrow("").Int32(0).Int32(0).Int32(0).Int32(0);   // script, character, two empty lists, no scores
    file.Wide(L"Tolvar Host").Narrow("MP\\DM.dcScript").Int32(25).Int32(10).Float(0.25f).Int32(16);
    return file.Wide(L"Yasmin").Narrow("USport").Int32(0);
}

std::string DefaultFile()
{
    return OptionsPart().image + FieldsPart().image;
}

std::string SavedFile()
{
    const FileBytes bytes = ReadWholeFile(Config::kFileName);
    return std::string(bytes.begin(), bytes.end());
}

void WriteSettingsFile(const std::string& bytes)
{
    std::ofstream("Misc/Config.VKS", std::ios::binary) << bytes;
}

class ConfigTest : public SettingsTest {
protected:
    // Settings that are none of the defaults, for a load to replace.
    void SetOtherValues()
    {
        options.musicVolume.Propose(0.1f);
        options.soundVolume.Propose(0.9f);
        for (ControlBindingOption& binding : options.bindings) {
            StoreBindingCodes(binding.value, {-1, -1});
        }
        config.playerName = L"Old";
    }

    void ExpectDefaults(const std::string& what)
    {
        EXPECT_EQ(options.videoMode.value, 1) << what;   // "800*600@32"
        EXPECT_EQ(options.textureDetail.value, 2) << what;
        EXPECT_EQ(options.gamma2.value, 25) << what;
        EXPECT_EQ(options.mouseSensitivity.value, 49) << what;
        // Audible: the sound groups took the volumes.
        EXPECT_EQ(options.musicVolume.value, 0.6f) << what;
        EXPECT_EQ(MusicSoundGroup().GetVolume(), 0.6f) << what;
        EXPECT_EQ(MenuSoundGroup().GetVolume(), 0.6f) << what;
        EXPECT_EQ(EffectsSoundGroup().GetVolume(), 0.6f) << what;
        for (int32_t i = 0; i < kBindingCount; ++i) {
            const ControlBinding& binding = options.bindings[i].value;
            EXPECT_EQ(binding.primaryCode, kDefaultCodes[2 * i]) << what << " binding " << i;
            EXPECT_EQ(binding.secondaryCode, kDefaultCodes[2 * i + 1]) << what << " binding " << i;
            EXPECT_EQ(binding.primaryText, CodeName(binding.primaryCode)) << what << " binding " << i;
        }
        EXPECT_EQ(config.playerName, L"Yasmin") << what;
        EXPECT_EQ(config.maxPlayers, 16) << what;
    }

    // The file as the next Save writes it.
    std::string SaveAndRead()
    {
        config.Save();
        return SavedFile();
    }
};

TEST_F(ConfigTest, WithoutAFileTheDefaultsApplyAndTheFirstSaveWritesThem)
{
    SetOtherValues();
    ScopedCapture log(kLogError);
    config.Load();
    ExpectDefaults("no file");
    EXPECT_TRUE(log->lines.empty());
    EXPECT_EQ(SaveAndRead(), DefaultFile());
}

TEST_F(ConfigTest, ASavedFileReadsBackTheSameValues)
{
    scripted->keyNames = {{57, L"Space bar"}, {30, L"A"}};
    options.videoMode.Propose(2);
    options.textureDetail.Propose(0);
    options.detailLevel.Propose(2);
    options.reflections.Propose(1);
    options.gamma1.Propose(77);
    options.gamma2.Propose(3);
    options.soundVolume.Propose(0.25f);
    options.musicVolume.Propose(0.75f);
    StoreBindingCodes(options.bindings[0].value, {57, 30});
    StoreBindingCodes(options.bindings[16].value, {ControllerAxisHalfCode(1, 3), -1});
    options.mouseSensitivity.Propose(12);
    config.highScores = {{5000, L"Zo\u00eb", L"\u0141\u00f3d\u017a"}, {3000, L"Ann", L""}};
    config.reachedScripts = {{{L"Scripts\\E1.dcScript", L"Scripts\\E2.dcScript"}, {L"Scripts\\E1.dcScript"}}};
    config.currentScript = L"Scripts\\E2.dcScript";
    config.currentCharacter = 1;
    config.hostName = L"H\u00f6st \u4e16";
    config.mpScript = L"MP\\CTF.dcScript";
    config.maxPlayers = 4;
    config.scoreLimit = 7;
    config.timeLimit = 30;
    config.mpReserved = 0.5f;
    config.playerName = L"\u00c5sa";
    config.carName = L"Caf\u00e9";   // a narrow text keeps characters up to U+00FF
    config.teamIndex = 2;
    config.Save();
    const ConfigFields saved = config;

    Config loaded;
    loaded.Load();
    EXPECT_EQ(options.videoMode.value, 2);
    EXPECT_EQ(options.textureDetail.value, 0);
    EXPECT_EQ(options.detailLevel.value, 2);
    EXPECT_EQ(options.reflections.value, 1);
    EXPECT_EQ(options.gamma1.value, 77);
    EXPECT_EQ(options.gamma2.value, 3);
    EXPECT_EQ(options.soundVolume.value, 0.25f);
    EXPECT_EQ(options.musicVolume.value, 0.75f);
    EXPECT_EQ(MusicSoundGroup().GetVolume(), 0.75f);
    EXPECT_EQ(options.mouseSensitivity.value, 12);
    // Binding texts are the input system's names, not anything of the file.
    const ControlBinding& first = options.bindings[0].value;
    EXPECT_EQ(std::make_pair(first.primaryCode, first.secondaryCode), std::make_pair(57, 30));
    EXPECT_EQ(first.primaryText, L"Space bar");
    EXPECT_EQ(first.secondaryText, L"A");
    EXPECT_EQ(options.bindings[16].value.primaryCode, ControllerAxisHalfCode(1, 3));
    EXPECT_EQ(options.bindings[16].value.secondaryText, CodeName(kNoInputCode));
    EXPECT_EQ(options.bindings[5].value.secondaryCode, 156);
    EXPECT_TRUE(static_cast<const ConfigFields&>(loaded) == saved);
    // And written again, the same bytes.
    const std::string firstSave = SavedFile();
    EXPECT_EQ(SaveAndRead(), firstSave);
}

TEST_F(ConfigTest, DamagedFilesGiveTheDefaultsWithOneLogLineNamingTheFile)
{
    const std::string good = DefaultFile();
    const std::string options = OptionsPart().image;
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string thirdByte = good;
    thirdByte[2] = '3';
    std::string oldVersion = good;
    oldVersion[3] = 0x00;   // 0x10000000
    for (const Case& c : std::initializer_list<Case>{
             {"empty", ""},
             {"9 bytes", good.substr(0, 9)},
             {"third byte not 2", thirdByte},
             {"version 0x10000000", oldVersion},
             {"foreign", "<settings>not ours</settings>"},
             {"cut in the bindings", good.substr(0, 100)},
             {"cut before the last value", good.substr(0, good.size() - 2)},
             // Good options, but the whole file is needed for any of it to count.
             {"cut after other options", OptionsPart(0.3f).image + FieldsPart().image.substr(0, 10)},
             {"a count beyond the file", options + FileImage().Narrow("").Int32(0).Int32(1 << 30).image +
                                             FieldsPart().image},
             {"a negative text length", options + FileImage().Int32(-5).image + FieldsPart().image},
             {"a negative score count", options + FileImage().Narrow("").Int32(0).Int32(0).Int32(0).Int32(-1).image +
                                            FieldsPart().image}}) {
        WriteSettingsFile(c.bytes);
        SetOtherValues();
        ScopedCapture log(kLogError);
        config.Load();
        ExpectDefaults(c.what);
        ASSERT_EQ(log->lines.size(), 1u) << c.what;
        EXPECT_EQ(log->lines[0], L"Misc\\Config.VKS contains errors") << c.what;
    }
}

TEST_F(ConfigTest, EveryCutCopyOfAWholeFileIsRefused)
{
    config.highScores = {{100, L"A", L"B"}};
    config.reachedScripts[0] = {L"Scripts\\E1.dcScript"};
    config.Save();
    const FileBytes good = ReadWholeFile(Config::kFileName);
    for (const DamagedCopy& copy : CutCopies(good, good.size(), 0)) {
        MemoryStream in(Config::kFileName, copy.bytes);
        ConfigFileContent content;
        ScopedCapture log(kLogError);
        EXPECT_FALSE(ReadConfigFile(in, content)) << copy.damage;
        EXPECT_EQ(log->lines.size(), 1u) << copy.damage;
    }
    MemoryStream in(Config::kFileName, good);
    ConfigFileContent content;
    EXPECT_TRUE(ReadConfigFile(in, content));
}

TEST_F(ConfigTest, OverwrittenBytesLeaveEverySettingInItsRange)
{
    config.highScores = {{100, L"A", L"B"}};
    config.Save();
    const FileBytes good = ReadWholeFile(Config::kFileName);
    MountedMemoryFile file(Config::kFileName);
    for (const DamagedCopy& copy : OverwrittenCopies(good, 400, {})) {
        file.Serve(copy.bytes);
        config.Load();
        for (const float volume :
             {options.soundVolume.value, options.musicVolume.value, MenuSoundGroup().GetVolume()}) {
            EXPECT_TRUE(volume >= 0.0f && volume <= 1.0f) << copy.damage << ": " << volume;
        }
        for (const int32_t value : {options.videoMode.value, options.textureDetail.value, options.detailLevel.value,
                                    options.reflections.value}) {
            EXPECT_TRUE(value >= 0 && value <= 2) << copy.damage << ": " << value;
        }
        for (const int32_t value : {options.gamma1.value, options.gamma2.value, options.mouseSensitivity.value}) {
            EXPECT_TRUE(value >= 0 && value <= 100) << copy.damage << ": " << value;
        }
        EXPECT_LE(config.highScores.size(), 10u) << copy.damage;
    }
}

TEST_F(ConfigTest, TheHighScoreTableKeepsItsFirstTenRows)
{
    for (int32_t row = 0; row < 12; ++row) {
        config.highScores.push_back({1200 - row * 100, L"Row " + std::to_wstring(row), L""});
    }
    config.Save();
    Config loaded;
    loaded.Load();
    ASSERT_EQ(loaded.highScores.size(), 10u);
    EXPECT_EQ(loaded.highScores.front().score, 1200);
    EXPECT_EQ(loaded.highScores.back().name, L"Row 9");
}

TEST_F(ConfigTest, AReachedScriptBecomesCurrentJoinsTheListOnceAndIsSavedAtOnce)
{
    config.currentCharacter = 1;
    config.reachedScripts[1] = {L"Scripts\\E1.dcScript"};
    config.currentScript = L"Scripts\\E3.dcScript";
    struct Case {
        const wchar_t* script;
        std::vector<WideString> reached;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Scripts\\E1.dcScript", {L"Scripts\\E1.dcScript"}},
             {L"Scripts\\E2.dcScript", {L"Scripts\\E1.dcScript", L"Scripts\\E2.dcScript"}}}) {
        config.RecordReachedScript(c.script);
        EXPECT_EQ(config.currentScript, c.script);
        EXPECT_EQ(config.reachedScripts[1], c.reached);
        EXPECT_TRUE(config.reachedScripts[0].empty());
        Config saved;
        saved.Load();
        EXPECT_EQ(saved.currentScript, c.script);
        EXPECT_EQ(saved.reachedScripts[1], c.reached);
    }
}

TEST_F(ConfigTest, TheMusicVolumeActsAtOnceAndIsSavedATenthOfASecondLater)
{
    config.Load();
    config.Save();
    settingsSaveCountdown = 0.0f;
    options.musicVolume.Propose(0.2f);
    EXPECT_EQ(MusicSoundGroup().GetVolume(), 0.2f);
    const auto savedMusicVolume = [] {
        std::unique_ptr<Stream> in = OpenFile(Config::kFileName);
        ConfigFileContent content;
        EXPECT_TRUE(ReadConfigFile(*in, content));
        return content.options.musicVolume;
    };
    // The frame loop's part, at 30 ms a frame.
    std::vector<float> savedAfterFrame;
    for (int32_t frame = 0; frame < 5; ++frame) {
        if (AdvanceSettingsSaveCountdown(0.03f)) {
            SaveSettings();
        }
        savedAfterFrame.push_back(savedMusicVolume());
    }
    EXPECT_EQ(savedAfterFrame, (std::vector<float>{0.6f, 0.6f, 0.6f, 0.2f, 0.2f}));
}

TEST_F(ConfigTest, AGameStartSavesAndMutesTheMenuSoundsWhichTheMenusGiveBack)
{
    config.Load();
    options.soundVolume.Propose(0.4f);
    std::filesystem::remove("Misc/Config.VKS");
    GetConfig().ApplyGameVideoMode();
    EXPECT_TRUE(std::filesystem::exists("Misc/Config.VKS"));
    EXPECT_EQ(MenuSoundGroup().GetVolume(), 0.0f);
    EXPECT_EQ(EffectsSoundGroup().GetVolume(), 0.4f);
    SetMenuVideoMode();
    EXPECT_EQ(MenuSoundGroup().GetVolume(), 0.4f);
}

} // namespace
