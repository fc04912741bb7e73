#include "frontend/VideoModes.h"

#include "engine/core/dcEngine.h"

#include <algorithm>
#include <cwctype>

namespace {

// Digits only, at least one, no sign: the parts of a mode text.
bool ParseDimension(const WideString& text, int32_t& value)
{
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), iswdigit)) {
        return false;
    }
    value = WideStringToInt(text, 0);
    return true;
}

} // namespace

WideString VideoModeText(const VideoMode& mode)
{
    WideString text;
    return FormatWideString(text, "%d*%d@%d", mode.width, mode.height, mode.bits);
}

std::vector<WideString> VideoModeTexts(const std::vector<VideoMode>& modes)
{
    std::vector<WideString> texts;
    for (const VideoMode& mode : modes) {
        const WideString text = VideoModeText(mode);
        if (std::find(texts.begin(), texts.end(), text) == texts.end()) {
            texts.push_back(text);
        }
    }
    return texts;
}

bool ParseVideoModeText(const WideString& text, VideoMode& mode)
{
    const size_t star = text.find(L'*');
    const size_t at = text.find(L'@');
    if (star == WideString::npos || at == WideString::npos || at < star) {
        return false;
    }
    VideoMode parsed{};
    if (!ParseDimension(text.substr(0, star), parsed.width) ||
        !ParseDimension(text.substr(star + 1, at - star - 1), parsed.height) ||
        !ParseDimension(text.substr(at + 1), parsed.bits) || parsed.width == 0 || parsed.height == 0) {
        return false;
    }
    mode = parsed;
    return true;
}

bool SwitchVideoMode(VideoSize size)
{
    dcEngine& engine = dcEngine::Instance();
    VideoDevice* video = engine.GetVideoDevice();
    if (!video) {
        return false;
    }
    const bool inMode = video->GetBackBufferWidth() == size.width && video->GetBackBufferHeight() == size.height;
    if (!inMode && !video->Create(engine.GetWindow(), size, {})) {
        return false;
    }
    engine.GetTimer().Reset();
    return true;
}
