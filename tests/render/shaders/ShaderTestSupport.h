#pragma once
// Shader tests: style and description files written into a scratch folder
// and found through the shader folder as the game finds them, devices made
// on a test window, and the sample shaders with the variables they read.

#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/ResourceFactory.h"
#include "engine/video/TextureResource.h"
#include "render/device/D3D9Video.h"
#include "render/device/TransformCache.h"
#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/ShaderEffect.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <string>

// "Shaders" as the folder shader names resolve in, as the engine sets it up.
class ScopedShaderFolder {
public:
    ScopedShaderFolder() { ShaderFactory().AddFolder(L"Shaders"); }
    ~ScopedShaderFolder() { ShaderFactory().RemoveFolder(L"Shaders"); }
    ScopedShaderFolder(const ScopedShaderFolder&) = delete;
    ScopedShaderFolder& operator=(const ScopedShaderFolder&) = delete;
};

// A scratch working folder mounted as the loose files, with a "Shaders" folder to write into.
class ShaderScratch {
public:
    ShaderScratch()
    {
        std::filesystem::create_directories("Shaders");
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    }
    ~ShaderScratch() { ArchiveList::Instance().UnmountAll(); }
    ShaderScratch(const ShaderScratch&) = delete;
    ShaderScratch& operator=(const ShaderScratch&) = delete;

    // Writes Shaders\<name>; the name that resolves to it is returned.
    WideString Write(const std::string& name, const std::string& text)
    {
        std::ofstream("Shaders/" + name, std::ios::binary) << text;
        return ShaderFactory().Resolve(WideStringFromChars(name.c_str(), -1), false);
    }

private:
    ScratchFolder folder_;
    ScopedShaderFolder shaders_;
};

// A Direct3D device starts from its defaults: so must what the shader
// system remembers having sent to one.
inline void ForgetSentFixedFunctionState()
{
    ResetTransformCaches();
    ForgetFixedFunctionState();
}

// A device made on a test window, with a scratch shader folder holding two
// fixed-function programs every adapter runs: "Plain.DCLS" (vertices as
// they are) and "Flat.DCLS" (the vertex colour).
class ShaderDevice : public WindowedDevice {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        ForgetSentFixedFunctionState();
        scratch.Write("Plain.DCLS", "<Root Lighting=\"0\"/>");
        scratch.Write("Flat.DCLS", "<Root><Stage ColorOp=\"SelectArg1\" ColorArg1=\"Diffuse\"/></Root>");
    }
    void TearDown() override { SetShaderDetailLevel(0); }

    // A file of one style, "Main", whose techniques have these detail ids,
    // each with one pass of one fixed-function fragment.
    WideString WriteTechniques(const std::string& name, std::initializer_list<int> detailIds)
    {
        std::string text = "<Shader><Style Name=\"Main\"/>";
        for (int id : detailIds) {
            text += "<Technique DetailID=\"" + std::to_string(id) +
                    "\"/><Pass/><Fragment VShader=\"Plain.DCLS\" PShader=\"Flat.DCLS\"/>";
        }
        return scratch.Write(name, text + "</Shader>");
    }

    ShaderScratch scratch;
};

// The game's sample shaders, as the game finds them: from the built pack.
class SampleShaderDevice : public WindowedDevice {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        ForgetSentFixedFunctionState();
    }
    void TearDown() override { SetShaderDetailLevel(0); }

    MountedFixture sampleData{L"sampledata"};
    ScopedShaderFolder shaders;
};

// Every variable the sample shaders read, as the objects drawing with them
// provide them: identity transforms (held as shader constants take them), a
// grey light shining along +z at what faces the camera, a plain material
// and a white texture.
class SampleVariables : public ShaderVariableBlock {
public:
    explicit SampleVariables(VideoDevice& video)
        : texture(video.CreateTexture({kTextureArgb32, kTextureKind2D, 2, 2, 2, 2, 1, false, false, false}))
    {
        for (const wchar_t* name : {L"World", L"View", L"Proj"}) {
            SetMatrix(AddVariable(name, kShaderMatrix, false), identity);
        }
        SetValue(AddVariable(L"LightDir", kShaderData, false), towardsCamera, sizeof towardsCamera);
        SetValue(AddVariable(L"LightAmbient", kShaderData, false), ambient, sizeof ambient);
        SetValue(AddVariable(L"LightDiffuse", kShaderData, false), diffuse, sizeof diffuse);
        SetValue(AddVariable(L"MatEmissive", kShaderData, false), emissive, sizeof emissive);
        SetValue(AddVariable(L"MatDiffuse", kShaderData, false), opaque, sizeof opaque);
        fogRange = AddVariable(L"FogRange", kShaderValue, false);
        SetFloat(fogRange, 0.0f);
        SetValue(AddVariable(L"FogColor", kShaderData, false), fogColour, sizeof fogColour);
        // Skid marks fade by it.
        SetFloat(AddVariable(L"Alpha", kShaderValue, false), 1.0f);
        const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
        texture->Upload({0, 0, 2, 2}, 0, {white, 8}, kTextureArgb32);
        SetTexture(AddVariable(L"Tex0", kShaderTexture, false), texture.get());
    }

    float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float towardsCamera[4] = {0.0f, 0.0f, -1.0f, 0.0f};
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    // A mesh material that reflects all the light it gets and glows not at all.
    float emissive[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float opaque[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Clear air until a test sets the range.
    int32_t fogRange = 0;
    float fogColour[4] = {0.2f, 0.4f, 0.8f, 1.0f};
    std::unique_ptr<TextureResource> texture;
};
