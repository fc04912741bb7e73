#pragma once
// The engine started on an 800 x 600 device on a shown test window, with the
// sample data's textures and effects, the sprite batch and a default font:
// what the console, the menus and the statistics draw with in the game.

#include "engine/core/dcEngine.h"
#include "engine/files/LanguageTable.h"
#include "engine/gui/GdiFont.h"
#include "engine/input/InputSystem.h"
#include "render/device/TextureLoader.h"
#include "render/sprites/EngineSpriteBatch.h"
#include "render/sprites/RendererGuiResources.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

class EngineOnScreen : public testing::Test {
protected:
    void SetUp() override
    {
        // A folder in place of the log file: the engine's log sink then writes nothing.
        std::filesystem::create_directory("Console.RTF");
        // Shown without taking the focus from whatever runs beside the test.
        ShowWindow(window.GetHandle(), SW_SHOWNOACTIVATE);
        auto video = std::make_unique<D3D9Video>();
        ASSERT_TRUE(video->Create(&window, {800, 600}, {}));
        ForgetSentFixedFunctionState();
        auto devices = std::make_unique<ScriptedInputDevices>();
        scripted = devices.get();
        auto input = std::make_unique<InputSystem>(std::move(devices), &language);
        input->Init(window, false);
        engine.Start(std::move(video), nullptr, std::move(input), L"English");
        sampleData = std::make_unique<MountedFixture>(L"sampledata");
        TextureFactory().AddFolder(L"Textures");
        TextureFactory().AddFolder(L"Menu");
        RegisterTextureLoaders();
        InstallGuiResources();
        CreateSpriteBatch(engine);
        engine.SetDefaultFont(MakeFont(kGlyphsAll, L"Tahoma", 14, true, 0.0f, 0.0f, {1, 1, 1, 1}, {0, 0, 0, 1}));
    }
    void TearDown() override
    {
        engine.Shutdown();
        TextureFactory().RemoveFolder(L"Menu");
        TextureFactory().RemoveFolder(L"Textures");
        SetShaderDetailLevel(0);
        sampleData.reset();
        DestroyWindow(window.GetHandle());
    }

    dcEngine& engine = dcEngine::Instance();
    ScratchFolder scratch;
    ScopedShaderFolder shaders;
    LanguageTable language;
    dcWindow window{L"Test", EngineWindowRect(1024, 768, false), false};
    std::unique_ptr<MountedFixture> sampleData;
    ScriptedInputDevices* scripted = nullptr;
};
