#include "engine/gui/dcGUIConsole.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/gui/GuiResources.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/SpriteDrawer.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRepeatDelay = 0.25f;
constexpr float kRepeatRate = 0.05f;
constexpr float kBlinkSpeed = 10.0f;
constexpr float kInputMargin = 30.0f;   // the input line stops this far short of the screen's width
constexpr float kTextLeft = 10.0f;
constexpr float kLogMargin = 20.0f;     // log lines wrap this far short of the screen's width
constexpr float kLineGap = 2.0f;
constexpr float kPromptLines = 2.0f;    // the prompt stands this many lines above the console's bottom
constexpr float kCaretGap = 10.0f;
constexpr float kFaintestBackground = 0.3f;

void PlayConsoleSound()
{
    if (AudioDevice* audio = dcEngine::Instance().GetAudioDevice()) {
        audio->PlayOnce(L"Console.WAV", EffectsSoundGroup().GetVolume(), nullptr);
    }
}

// Lists are cut back to their size once they have grown by a quarter.
template <class List>
void TrimOldest(List& list, size_t keep)
{
    if (list.size() >= keep + keep / 4) {
        list.resize(keep);
    }
}

} // namespace

dcGUIConsole::dcGUIConsole(InputSystem* input)
    : input_(input)
{
    MLP::SetName(L"dcGUIConsole");
}

dcGUIConsole::~dcGUIConsole()
{
    if (open_ && input_) {
        input_->RemoveTextReceiver(inputLine_);
    }
}

void dcGUIConsole::Enter()
{
    if (open_) {
        return;
    }
    if (!background_) {
        if (GuiResources* resources = GetGuiResources()) {
            background_ = resources->GetTexture(L"Console.DCT");
        }
    }
    open_ = true;
    PlayConsoleSound();
    if (input_) {
        input_->PushTextReceiver(inputLine_);
    }
}

void dcGUIConsole::Leave()
{
    if (!open_) {
        return;
    }
    open_ = false;
    PlayConsoleSound();
    if (input_) {
        input_->RemoveTextReceiver(inputLine_);
    }
}

void dcGUIConsole::Render()
{
    dcEngine& engine = dcEngine::Instance();
    SpriteDrawer* batch = engine.GetSpriteBatch();
    VideoDevice* video = engine.GetVideoDevice();
    Font* font = engine.GetDefaultFont();
    if (openFraction_ == 0.0f || !batch || !video) {
        return;
    }
    // No line may be added while they are drawn.
    CriticalSectionLock lock(LogHub::Instance().GetLock());
    const float width = static_cast<float>(video->GetViewportWidth());
    const float height = static_cast<float>(video->GetViewportHeight());
    const float bottom = height * openFraction_;
    if (background_) {
        const float top = bottom - height;
        batch->DrawImageRect(background_.get(), {0.0f, 0.0f, background_->GetImageWidth(), background_->GetImageHeight()},
                             {0.0f, top, width, top + height},
                             {1.0f, 1.0f, 1.0f, kFaintestBackground + (1.0f - kFaintestBackground) * openFraction_},
                             AlphaSpriteShader);
    }
    if (font) {
        DrawPrompt(*font, bottom);
        DrawLogLines(*font, bottom - kPromptLines * (font->GetSize() + kLineGap), width - kLogMargin);
    }
}

void dcGUIConsole::DrawPrompt(Font& font, float bottom)
{
    SpriteDrawer& batch = *dcEngine::Instance().GetSpriteBatch();
    WideString prompt;
    FormatWideString(prompt, "> %s", inputLine_.text.c_str());
    const float y = bottom - kPromptLines * (font.GetSize() + kLineGap);
    batch.DrawText(prompt, font, {kTextLeft, y}, kOpaqueWhite, AlphaSpriteShader, false);
    if (blink_ > 0.0f) {
        batch.DrawText(L"_", font, {kTextLeft + font.MeasureText(prompt) + kCaretGap, y}, kOpaqueWhite,
                       AlphaSpriteShader, false);
    }
}

// Newest first, upwards from above the prompt, until a line would start
// above the screen; each line's pieces read top to bottom.
void dcGUIConsole::DrawLogLines(Font& font, float bottom, float width)
{
    SpriteDrawer& batch = *dcEngine::Instance().GetSpriteBatch();
    const float step = font.GetSize() + kLineGap;
    // By index: a glyph rasterised on first use may log, adding a line
    // meanwhile, which moves the lines but leaves each one in place.
    for (size_t i = 0; i < lines_.size(); ++i) {
        const WideString& line = lines_[i];
        WrapLine(font, line, width);
        const float top = bottom - step * static_cast<float>(wrapSegments_.size());
        if (top < 0.0f) {
            return;
        }
        float y = top;
        for (const WrapSegment& segment : wrapSegments_) {
            batch.DrawTextRange(line, {segment.start, segment.length}, font, {kTextLeft, y}, kOpaqueWhite,
                                AlphaSpriteShader, false);
            y += step;
        }
        bottom = top;
    }
}

void dcGUIConsole::WrapLine(Font& font, const WideString& line, float width)
{
    wrapSegments_.clear();
    const int32_t length = static_cast<int32_t>(line.size());
    int32_t start = 0;
    do {
        const int32_t end = std::max(font.IndexAtX(line, width, {start, length - start}), start + 1);
        wrapSegments_.push_back({start, std::min(end, length) - start});
        start = end;
    } while (start < length);
}

void dcGUIConsole::BrowseHistory(int32_t step)
{
    const int32_t newest = std::min<int32_t>(kMaxHistory, static_cast<int32_t>(history_.size())) - 1;
    historyCursor_ = step > 0 ? std::min(historyCursor_ + 1, newest) : std::max(historyCursor_ - 1, 0);
    if (historyCursor_ >= 0 && historyCursor_ < static_cast<int32_t>(history_.size())) {
        inputLine_.text = history_[historyCursor_];
        inputLine_.caret = static_cast<int32_t>(inputLine_.text.size());
    }
}

// Typed lines run as upper-case commands; an empty line runs nothing, as a
// command registered without a name must never run by accident.
void dcGUIConsole::SubmitInputLine()
{
    WideString command = WideStringTrim(inputLine_.text);
    WideStringToUpper(command);
    const WideString typed = inputLine_.text;
    inputLine_.text.clear();
    inputLine_.caret = 0;
    historyCursor_ = -1;
    if (command.empty()) {
        return;
    }
    LogHub::Instance().Write(kLogMessage, typed);
    history_.push_front(typed);
    commandQueue_.push_back(command);
}

void dcGUIConsole::FitInputLine()
{
    Font* font = dcEngine::Instance().GetDefaultFont();
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!font || !video) {
        return;
    }
    const float limit = static_cast<float>(video->GetViewportWidth()) - kInputMargin;
    while (!inputLine_.text.empty() && font->MeasureText(inputLine_.text) > limit) {
        inputLine_.text.pop_back();
    }
    inputLine_.caret = std::min(inputLine_.caret, static_cast<int32_t>(inputLine_.text.size()));
}

void dcGUIConsole::HandleKeys()
{
    if (!input_) {
        return;
    }
    if (input_->PressedWithRepeat(kKeyUp, kRepeatDelay, kRepeatRate)) {
        BrowseHistory(+1);
    }
    if (input_->PressedWithRepeat(kKeyDown, kRepeatDelay, kRepeatRate)) {
        BrowseHistory(-1);
    }
    FitInputLine();
    if (input_->WasPressed(kKeyEnter) || input_->WasPressed(kKeyPadEnter)) {
        SubmitInputLine();
    }
}

void dcGUIConsole::Tick(float dt)
{
    MLP::SetTime(MLP::GetTime() + dt);
    blink_ = std::sin(kBlinkSpeed * MLP::GetTime());
    openFraction_ = std::clamp(openFraction_ + (open_ ? dt : -dt), 0.0f, 1.0f);
    CriticalSectionLock lock(LogHub::Instance().GetLock());
    TrimOldest(lines_, kMaxLines);
    TrimOldest(history_, kMaxHistory);
}

// The hub calls this under its lock; the engine writes here directly too.
void dcGUIConsole::Write(const WideString& text)
{
    CriticalSectionLock lock(LogHub::Instance().GetLock());
    lines_.push_front(text);
}

bool dcGUIConsole::TakeCommand(WideString& line)
{
    if (commandQueue_.empty()) {
        return false;
    }
    line = commandQueue_.front();
    commandQueue_.pop_front();
    return true;
}
