#include "render/device/DFTexture.h"

#include "engine/core/LogHub.h"
#include "engine/files/RandomRange.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/UserTexture.h"
#include "render/models/Camera.h"

#include <algorithm>
#include <vector>

namespace {

constexpr float kDebugAlpha = 128.0f / 255.0f;
// Objects covering no more of the viewport than this are too small to report.
constexpr float kSmallestReportedShare = 0.001f;

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
    if (item_) {
        component_.ReleaseItem(item_);
    }
}

bool DFTexture::AcquireItem(const std::string& itemName)
{
    DFEngineItem* item = nullptr;
    if (component_.GetItem(itemName.c_str(), &item) < 0) {
        return false;
    }
    item_ = item;
    return item_ != nullptr;
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
        DFImage image;
        entry->item_->GetImage(image);
        entry->format_ = TextureFormatOfItem(image.format);
        if (entry->format_ < 0) {
            LogHub::Printf("Unknown DF format %d", image.format);
            return nullptr;
        }
        texture = device.CreateTexture({entry->format_, kTextureKind2D, image.width, image.height, image.width,
                                        image.height, 1, dynamic, false, false});
        if (texture) {
            entry->texture_ = texture.get();
            entry->UploadImage(image);
        }
    }
    if (!texture) {
        return nullptr;
    }
    entry->texture_ = texture.get();
    Entries().push_back(entry.get());
    // A 2D texture, made here or cloned from one.
    static_cast<UserTexture&>(*texture).SetDFEntry(std::move(entry));
    return texture;
}

// The picture's own size and format: an item that grew or shrank is scaled
// into the texture rather than read with a stale row length.
bool DFTexture::UploadImage(const DFImage& image)
{
    const int32_t format = TextureFormatOfItem(image.format);
    if (format < 0 || !image.pixels || image.width <= 0 || image.height <= 0) {
        return false;
    }
    const int32_t pitch = image.width * (format == kTextureRgb24 ? 3 : 4);
    texture_->Upload({0, 0, image.width, image.height}, 0, {image.pixels, pitch}, format);
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
    DFImage image;
    item_->GetImage(image);
    if (image.hasNewPixels) {
        UploadImage(image);
    }
    dirty_ = false;
}

void DFTexture::ReportScreenArea(int32_t frame, int32_t area)
{
    if (lastFrame_ == frame) {
        return;
    }
    lastFrame_ = frame;
    item_->ReportScreenArea(0, &area);
    dirty_ = true;
}

DFTexture* DFEntryOf(const TextureResource& texture)
{
    return IsUserTexture(texture) ? static_cast<const UserTexture&>(texture).GetDFEntry() : nullptr;
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

void ReportDFScreenAreas(const VideoDevice& device, int32_t frame)
{
    if (BoundEntries().empty()) {
        return;
    }
    const Camera* camera = device.GetMeasuredCamera();
    if (!camera) {
        for (DFTexture* entry : BoundEntries()) {
            entry->ReportScreenArea(frame, 0);
        }
        return;
    }
    const Rect rect = camera->ScreenRectOfBox(device.GetMeasuredBox());
    const float viewportWidth = static_cast<float>(device.GetViewportWidth());
    const float viewportHeight = static_cast<float>(device.GetViewportHeight());
    const float width = std::min(rect.max.x - rect.min.x, viewportWidth);
    const float height = std::min(rect.max.y - rect.min.y, viewportHeight);
    const float area = width * height;
    // Negated so that a box the camera cannot project (not a number) reports nothing.
    if (!(area > kSmallestReportedShare * viewportWidth * viewportHeight)) {
        return;
    }
    for (DFTexture* entry : BoundEntries()) {
        entry->ReportScreenArea(frame, static_cast<int32_t>(area));
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
