#pragma once
// Test fixtures on disk: folders written at build time beside the test
// executable, and scopes that enter one as the working folder with the file
// sources mounted as the game mounts them.

#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/PackArchive.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

inline WideString FixturePath(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WideString folder(module);
    folder.resize(folder.rfind(L'\\') + 1);
    return folder + L"fixtures\\" + name;
}

class ScopedWorkingFolder {
public:
    explicit ScopedWorkingFolder(const WideString& folder)
    {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        EXPECT_TRUE(SetCurrentDirectoryW(folder.c_str())) << WideStringToNarrow(folder);
    }
    ~ScopedWorkingFolder() { SetCurrentDirectoryW(previous_); }
    ScopedWorkingFolder(const ScopedWorkingFolder&) = delete;
    ScopedWorkingFolder& operator=(const ScopedWorkingFolder&) = delete;

private:
    wchar_t previous_[MAX_PATH] = {};
};

// The fixture folder as the working folder, its loose files and its
// "Data.DCP" mounted in the game's order.
class MountedFixture {
public:
    explicit MountedFixture(const wchar_t* name) : folder_(FixturePath(name))
    {
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
        ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    }
    ~MountedFixture() { ArchiveList::Instance().UnmountAll(); }
    MountedFixture(const MountedFixture&) = delete;
    MountedFixture& operator=(const MountedFixture&) = delete;

private:
    ScopedWorkingFolder folder_;
};

// An empty folder of its own as the working folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path()
                / ("varnholt-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count_)))
    {
        // Wine reuses process ids: a run killed before its clean-up leaves a
        // folder of the same name behind, which must not leak into this one.
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
        std::filesystem::create_directories(path_);
        working_ = std::make_unique<ScopedWorkingFolder>(path_.wstring());
    }
    ~ScratchFolder()
    {
        working_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    static inline int count_ = 0;
    std::filesystem::path path_;
    std::unique_ptr<ScopedWorkingFolder> working_;
};
