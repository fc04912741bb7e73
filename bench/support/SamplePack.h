#pragma once
// The sample pack beside a benchmark, mounted as the game mounts its data:
// the benchmark's folder first, then "Data.DCP", with the texture and shader
// folders the factories search.

#include "bench/support/BenchDataFolder.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/PackArchive.h"
#include "engine/files/ResourceFactory.h"

#include <memory>

inline void MountSamplePack()
{
    EnterBenchDataFolder();
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    TextureFactory().AddFolder(L"Textures");
    ShaderFactory().AddFolder(L"Shaders");
}
