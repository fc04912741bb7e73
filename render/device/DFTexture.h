#pragma once
// Textures whose pixels come from the DFEngine component: a name beginning
// "DFS_" (static) or "DFD_" (dynamic) that the component knows ties one of
// its items to a 2D texture. Drawing the texture tells the item, once a
// frame, how large it appeared on screen, and the next presentation re-reads
// the pixels of every item told since, when the item has new ones.

#include "engine/files/WideString.h"
#include "engine/math/Color.h"
#include "platform/dfengine/DFEngine.h"

#include <cstdint>
#include <memory>
#include <string>

class TextureResource;
class VideoDevice;

class DFTexture {
public:
    // Takes a random debug colour, half transparent, to outline the item on screen.
    explicit DFTexture(DFEngine& component);
    // Leaves the lists and gives the item back to the component.
    ~DFTexture();
    DFTexture(const DFTexture&) = delete;
    DFTexture& operator=(const DFTexture&) = delete;

    // Asks the component for the item; false when it does not know it.
    bool AcquireItem(const std::string& itemName);
    // The texture that shows the item, which takes over the entry: a texture
    // on the pixels of an earlier entry of the same name, or a new one with
    // the item's pixels. None, with the entry gone, when the item's pixels
    // cannot be shown.
    static std::unique_ptr<TextureResource> Init(std::unique_ptr<DFTexture> entry, const WideString& name,
                                                 VideoDevice& device, bool dynamic);

    // At presentation: re-reads the pixels when the texture was drawn since
    // the last one and the item has new pixels.
    void Refresh();
    // Re-reads the pixels whenever the item has new ones, drawn or not.
    void RefreshNow();
    // Tells the item the screen area it was drawn over in the frame, unless
    // it heard of this frame already.
    void ReportScreenArea(int32_t frame, int32_t area);

    const WideString& GetName() const { return name_; }
    int32_t GetFormat() const { return format_; }
    const Color& GetDebugColor() const { return debugColor_; }
    bool IsDirty() const { return dirty_; }
    int32_t GetLastFrame() const { return lastFrame_; }

private:
    // The picture into the texture; false for a pixel format the game cannot show.
    bool UploadImage(const DFImage& image);

    DFEngine& component_;
    int32_t format_;   // TextureFormat
    Color debugColor_;
    WideString name_;
    TextureResource* texture_ = nullptr;
    DFEngineItem* item_ = nullptr;
    bool dirty_ = false;
    int32_t lastFrame_ = -1;   // no frame yet, so the first frame's draws count too
};

// The DFEngine item the texture shows, or none.
DFTexture* DFEntryOf(const TextureResource& texture);
// The texture was bound: its entry joins those the next draws report.
void NoteBoundDFTexture(DFTexture& entry);
// The effect changed: the next draws bind their own textures.
void ForgetBoundDFTextures();
// After a draw: every texture bound since the effect was set reports the
// screen area of the device's measured object, or 0 without a camera. With a
// camera, objects smaller than a thousandth of the viewport are not reported.
void ReportDFScreenAreas(const VideoDevice& device, int32_t frame);
// The presentation step of every device.
void RefreshDrawnDFTextures();
// After a zone change: every DFEngine texture takes the item's newest pixels.
void RefreshDFTextures();
