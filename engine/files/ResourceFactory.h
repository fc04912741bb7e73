#pragma once
// Turns a resource's short name ("Console.DCT", "Click.WAV") into the name of
// a file the mounted sources hold: the name as written, else the name inside
// each registered folder, the last added folder first.

#include "engine/files/WideString.h"

#include <initializer_list>
#include <memory>
#include <vector>

class ResourceFactory;

// A reader of one kind of resource file, known by the endings of its names:
// upper case, with their dot (".DCT", ".WAV").
class ResourceLoader {
public:
    explicit ResourceLoader(std::initializer_list<const wchar_t*> extensions)
        : extensions_(extensions.begin(), extensions.end())
    {
    }
    virtual ~ResourceLoader() = default;
    ResourceLoader(const ResourceLoader&) = delete;
    ResourceLoader& operator=(const ResourceLoader&) = delete;

    const std::vector<WideString>& Extensions() const { return extensions_; }

private:
    std::vector<WideString> extensions_;
};

// The loaders a factory's users registered, in the order they were appended;
// a factory holds loaders of its own kind only.
class LoaderList {
public:
    void Append(std::unique_ptr<ResourceLoader> loader) { loaders_.push_back(std::move(loader)); }
    bool IsEmpty() const { return loaders_.empty(); }

    // The first loader one of whose extensions ends the upper-cased name.
    // None when the factory has no loaders; none, with
    // "<factory>: <kind> <name> cannot be decoded!" logged, when no loader fits.
    static ResourceLoader* FindByExtension(const ResourceFactory& factory, const WideString& name);

private:
    std::vector<std::unique_ptr<ResourceLoader>> loaders_;
};

class ResourceFactory {
public:
    ResourceFactory() : ResourceFactory("ResourceFactory", "Resource") {}
    ResourceFactory(const char* name, const char* kind);

    void AddFolder(const WideString& folder) { folders_.push_back(folder); }
    void RemoveLastFolder();
    void RemoveFolder(const WideString& folder);
    const std::vector<WideString>& Folders() const { return folders_; }
    const WideString& Name() const { return name_; }
    const WideString& Kind() const { return kind_; }
    LoaderList& Loaders() { return loaders_; }
    const LoaderList& Loaders() const { return loaders_; }

    // The name unchanged when it exists as written; a folder's candidate
    // upper-cased; empty when nothing matches, with
    // "<factory>: <kind> ^1<name>^7 not found!" logged when asked.
    WideString Resolve(const WideString& name, bool logMissing) const;

private:
    WideString name_;
    WideString kind_;
    std::vector<WideString> folders_;
    LoaderList loaders_;
};

// The factories of each resource kind; the engine adds their folders at Init.
ResourceFactory& TextureFactory();
ResourceFactory& ShaderFactory();
ResourceFactory& SoundFactory();
ResourceFactory& ModelResourceFactory();
ResourceFactory& SkinnedModelResourceFactory();
