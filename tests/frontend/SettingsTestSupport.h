#pragma once
// The settings as the front end keeps them, in a scratch folder with its
// "Misc" folder, on the engine with scripted input (which names the input
// codes); every option at its default, no save pending, and the video modes
// of an imagined display.

// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/ProgramState.h"
#include "frontend/Config.h"
#include "frontend/SettingsOptions.h"

#include <cstring>
#include <string>

class SettingsTest : public GameTest {
protected:
    SettingsTest()
    {
        std::filesystem::create_directory("Misc");
        options.SetVideoModeTexts({L"640*480@32", L"800*600@32", L"1024*768@32"});
        config.SetDefaults();
        settingsSaveCountdown = 0.0f;
    }
    ~SettingsTest() override { settingsSaveCountdown = 0.0f; }

    WideString CodeName(int32_t code) const { return engine.GetInputSystem()->GetCodeName(code); }

    SettingsOptions& options = GetSettingsOptions();
    Config config;
};

// A settings file built by hand, value by value, little-endian.
class FileImage {
public:
    FileImage& Bytes(const std::string& bytes)
    {
        image += bytes;
        return *this;
    }
    FileImage& Int32(int32_t value) { return Raw(&value, sizeof value); }
    FileImage& Float(float value) { return Raw(&value, sizeof value); }
    FileImage& Narrow(const std::string& text)
    {
        Int32(static_cast<int32_t>(text.size()));
        return Bytes(text);
    }
    FileImage& Wide(const std::wstring& text)
    {
        Int32(static_cast<int32_t>(text.size()));
        return Raw(text.data(), text.size() * 2);
    }

    std::string image;

private:
    FileImage& Raw(const void* data, size_t size)
    {
        image.append(static_cast<const char*>(data), size);
        return *this;
    }
};
