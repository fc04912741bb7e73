#pragma once
// Turns a resource's short name ("Console.DCT", "Click.WAV") into the name of
// a file the mounted sources hold: the name as written, else the name inside
// each registered folder, the last added folder first.

#include "engine/files/WideString.h"

#include <vector>

class ResourceFactory {
public:
    ResourceFactory() : ResourceFactory("ResourceFactory", "Resource") {}
    ResourceFactory(const char* name, const char* kind);

    void AddFolder(const WideString& folder) { folders_.push_back(folder); }
    void RemoveLastFolder();
    void RemoveFolder(const WideString& folder);
    const std::vector<WideString>& Folders() const { return folders_; }

    // The name unchanged when it exists as written; a folder's candidate
    // upper-cased; empty when nothing matches, with
    // "<factory>: <kind> ^1<name>^7 not found!" logged when asked.
    WideString Resolve(const WideString& name, bool logMissing) const;

private:
    WideString name_;
    WideString kind_;
    std::vector<WideString> folders_;
};

// The factories of each resource kind; the engine adds their folders at Init.
ResourceFactory& TextureFactory();
ResourceFactory& ShaderFactory();
ResourceFactory& SoundFactory();
ResourceFactory& ModelResourceFactory();
ResourceFactory& SkinnedModelResourceFactory();
