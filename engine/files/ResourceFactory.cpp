#include "engine/files/ResourceFactory.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"

#include <algorithm>

ResourceFactory::ResourceFactory(const char* name, const char* kind)
    : name_(WideStringFromChars(name, -1))
    , kind_(WideStringFromChars(kind, -1))
{
}

void ResourceFactory::RemoveLastFolder()
{
    if (!folders_.empty()) {
        folders_.pop_back();
    }
}

void ResourceFactory::RemoveFolder(const WideString& folder)
{
    auto found = std::find(folders_.rbegin(), folders_.rend(), folder);
    if (found != folders_.rend()) {
        folders_.erase(std::next(found).base());
    }
}

WideString ResourceFactory::Resolve(const WideString& name, bool logMissing) const
{
    if (CanReadFile(name)) {
        return name;
    }
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) {
        WideString candidate;
        FormatWideString(candidate, "%s\\%s", folder->c_str(), name.c_str());
        if (CanReadFile(candidate)) {
            WideStringToUpper(candidate);
            return candidate;
        }
    }
    if (logMissing) {
        LogHub::Printf("%s: %s ^1%s^7 not found!", name_.c_str(), kind_.c_str(), name.c_str());
    }
    return WideString();
}

ResourceLoader* LoaderList::FindByExtension(const ResourceFactory& factory, const WideString& name)
{
    const LoaderList& list = factory.Loaders();
    if (list.IsEmpty()) {
        return nullptr;
    }
    WideString upper = name;
    WideStringToUpper(upper);
    for (const auto& loader : list.loaders_) {
        for (const WideString& extension : loader->Extensions()) {
            if (WideStringEndsWith(upper, extension)) {
                return loader.get();
            }
        }
    }
    LogHub::Printf("%s: %s %s cannot be decoded!", factory.Name().c_str(), factory.Kind().c_str(), name.c_str());
    return nullptr;
}

ResourceFactory& TextureFactory()
{
    static ResourceFactory factory("TextureFactory", "Texture");
    return factory;
}

ResourceFactory& ShaderFactory()
{
    static ResourceFactory factory("ShaderFactory", "Shader");
    return factory;
}

ResourceFactory& SoundFactory()
{
    static ResourceFactory factory("SoundFactory", "Sound");
    return factory;
}

ResourceFactory& ModelResourceFactory()
{
    static ResourceFactory factory;
    return factory;
}

ResourceFactory& SkinnedModelResourceFactory()
{
    static ResourceFactory factory;
    return factory;
}
