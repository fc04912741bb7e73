#include "game/weapons/ExplosionKind.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/video/TextureResource.h"
#include "render/device/TextureLookup.h"

namespace {

const wchar_t* const kSoundPatterns[kExplosionKindCount] = {
    L"Audio\\Explosion*.WAV",         L"Audio\\Rocket_Explosion*.WAV",   L"Audio\\Mine_Explosion*.WAV",
    L"Audio\\Missile_Explosion*.WAV", L"Audio\\Airstrike_Explosion*.WAV",
};

std::vector<ExplosionKind>& Records()
{
    static std::vector<ExplosionKind> records;
    return records;
}

// The flip-book of one folder ("Textures\FX\Explosion1"); none without frames.
std::unique_ptr<ExplosionFlipBook> LoadFlipBook(VideoDevice* device, const WideString& folder, bool tellEmpty)
{
    std::vector<WideString> files;
    FindFiles(files, folder + L"\\*.DCT", true, true);
    if (files.empty()) {
        if (tellEmpty) {
            LogHub::PrintError("%s holds no frames: no explosion shows it", folder.c_str());
        }
        return nullptr;
    }
    std::vector<std::unique_ptr<TextureResource>> frames;
    for (const WideString& file : files) {
        frames.push_back(device ? GetTexture(*device, file) : nullptr);
    }
    return std::make_unique<ExplosionFlipBook>(std::move(frames));
}

} // namespace

const std::vector<ExplosionKind>& ExplosionKinds()
{
    return Records();
}

const ExplosionKind* ExplosionKind::Find(int32_t kind)
{
    const std::vector<ExplosionKind>& records = Records();
    for (const ExplosionKind& record : records) {
        if (record.kind == kind) {
            return &record;
        }
    }
    return records.empty() ? nullptr : &records.front();
}

std::vector<ExplosionKind> BuildExplosionKinds(VideoDevice* device)
{
    std::vector<ExplosionKind> records;
    std::vector<WideString> folders;
    FindFiles(folders, L"Textures\\FX\\Explosion*.", true, false);
    for (int32_t kind = 0; kind < kExplosionKindCount; ++kind) {
        ExplosionKind& record = records.emplace_back();
        record.kind = kind;
        for (const WideString& folder : folders) {
            if (std::unique_ptr<ExplosionFlipBook> book = LoadFlipBook(device, folder, kind == 0)) {
                record.flipBooks.push_back(std::move(book));
            }
        }
        record.sounds = ListFiles(kSoundPatterns[kind]);
        if (record.sounds.empty()) {
            record.sounds.push_back(kSoundPatterns[kind]);
        }
    }
    return records;
}

void LoadExplosionKinds(VideoDevice* device)
{
    if (Records().empty()) {
        Records() = BuildExplosionKinds(device);
    }
}
