#include "render/device/DFTexture.h"

#include "engine/core/LogHub.h"
#include "engine/files/RandomRange.h"
#include "render/device/TextureResource.h"
#include "render/device/VideoDevice.h"

#include <algorithm>
#include <vector>

namespace {

constexpr float kDebugAlpha = 128.0f / 255.0f;

// Every live entry, in the order made.
std::vector<DFTexture*>& Entries()
{
    static std::vector<DFTexture*> entries;
    return entries;
}

// The entries of the textures bound since the effect was last set, each once.
std::vector<DFTexture*>& BoundEntries()
{
    static std::vector<DFTexture*> bound;
    return bound;
}

// The texture format of a DFEngine pixel format: 0 and 2 are 24-bit, 1 and
// 3 are 32-bit; -1 for any other.
int32_t TextureFormatOfItem(int32_t pixelFormat)
{
    switch (pixelFormat) {
    case 0:
    case 2:
        return kTextureRgb24;
    case 1:
    case 3:
        return kTextureArgb32;
    default:
        return -1;
    }
}

} // namespace

DFTexture::DFTexture(DFEngine& component)
    : component_(component)
    , format_(kTextureRgb24)
{
    debugColor_.r = RandomRange(0.0f, 1.0f);
    debugColor_.g = RandomRange(0.0f, 1.0f);
    debugColor_.b = RandomRange(0.0f, 1.0f);
    debugColor_.a = kDebugAlpha;
}

DFTexture::~DFTexture()
{
    std::erase(Entries(), this);
    std::erase(BoundEntries(), this);
    if (holdsItem_) {
        component_.ReleaseItem(&item_);
    }
}

bool DFTexture::AcquireItem(const std::string& itemName)
{
    holdsItem_ = component_.GetItem(itemName.c_str(), &item_) >= 0;
    return holdsItem_;
}

std::unique_ptr<TextureResource> DFTexture::Init(std::unique_ptr<DFTexture> entry, const WideString& name,
                                                 VideoDevice& device, bool dynamic)
{
    entry->name_ = name;
    std::unique_ptr<TextureResource> texture;
    const auto earlier = std::find_if(Entries().begin(), Entries().end(),
                                      [&](const DFTexture* other) { return other->name_ == name; });
    if (earlier != Entries().end()) {
        // The pixels are already on the device: no need to read them.
        entry->format_ = (*earlier)->format_;
        texture = (*earlier)->texture_->Clone();
    } else {
        entry->format_ = TextureFormatOfItem(entry->item_.pixelFormat);
        if (entry->format_ < 0) {
            LogHub::Printf("Unknown DF format %d", entry->item_.pixelFormat);
            return nullptr;
        }
        texture = device.CreateTexture({entry->format_, kTextureKind2D, entry->item_.width, entry->item_.height,
                                        entry->item_.width, entry->item_.height, 1, dynamic, false, false});
        if (texture) {
            entry->texture_ = texture.get();
            entry->UploadImage();
        }
    }
    if (!texture) {
        return nullptr;
    }
    entry->texture_ = texture.get();
    Entries().push_back(entry.get());
    texture->SetDFEntry(std::move(entry));
    return texture;
}

// The item's size and format as they are now: an item that grew or shrank
// is scaled into the texture rather than read with a stale row length.
bool DFTexture::UploadImage()
{
    const int32_t format = TextureFormatOfItem(item_.pixelFormat);
    if (format < 0 || !item_.pixels || item_.width <= 0 || item_.height <= 0) {
        return false;
    }
    const int32_t pitch = item_.width * (format == kTextureRgb24 ? 3 : 4);
    texture_->Upload({0, 0, item_.width, item_.height}, 0, {item_.pixels, pitch}, format);
    return true;
}

void DFTexture::Refresh()
{
    if (dirty_) {
        RefreshNow();
    }
}

void DFTexture::RefreshNow()
{
    if (item_.changed) {
        UploadImage();
    }
    dirty_ = false;
}

void DFTexture::MarkDrawn(int32_t frame)
{
    if (lastFrame_ != frame) {
        lastFrame_ = frame;
        dirty_ = true;
    }
}

void NoteBoundDFTexture(DFTexture& entry)
{
    std::vector<DFTexture*>& bound = BoundEntries();
    if (std::find(bound.begin(), bound.end(), &entry) == bound.end()) {
        bound.push_back(&entry);
    }
}

void ForgetBoundDFTextures()
{
    BoundEntries().clear();
}

void ReportDFScreenAreas(int32_t frame)
{
    for (DFTexture* entry : BoundEntries()) {
        entry->MarkDrawn(frame);
    }
}

void RefreshDrawnDFTextures()
{
    for (DFTexture* entry : Entries()) {
        entry->Refresh();
    }
}

void RefreshDFTextures()
{
    for (DFTexture* entry : Entries()) {
        entry->RefreshNow();
    }
}
