#pragma once
// Model tests: the model fixture mounted, with the resource folders the
// engine gives the texture, shader and model factories.

#include "engine/files/ResourceFactory.h"
#include "tests/support/Fixtures.h"

#include <algorithm>

// Adds a folder for the test's lifetime unless the factory has it already.
class ScopedFactoryFolder {
public:
    ScopedFactoryFolder(ResourceFactory& factory, const wchar_t* folder) : factory_(factory), folder_(folder)
    {
        const auto& folders = factory_.Folders();
        added_ = std::find(folders.begin(), folders.end(), folder_) == folders.end();
        if (added_) {
            factory_.AddFolder(folder_);
        }
    }
    ~ScopedFactoryFolder()
    {
        if (added_) {
            factory_.RemoveFolder(folder_);
        }
    }
    ScopedFactoryFolder(const ScopedFactoryFolder&) = delete;
    ScopedFactoryFolder& operator=(const ScopedFactoryFolder&) = delete;

private:
    ResourceFactory& factory_;
    WideString folder_;
    bool added_;
};

class ModelFixture {
protected:
    MountedFixture fixture{L"models"};
    ScopedFactoryFolder models{ModelResourceFactory(), L"Models"};
    ScopedFactoryFolder textures{TextureFactory(), L"Textures"};
    ScopedFactoryFolder shaders{ShaderFactory(), L"Shaders"};
};
