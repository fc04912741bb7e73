#include "engine/gui/dcGUIConsole.h"

#include "engine/core/LogHub.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRepeatDelay = 0.25f;
constexpr float kRepeatRate = 0.05f;
constexpr float kBlinkSpeed = 10.0f;

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
    open_ = true;
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
    if (input_) {
        input_->RemoveTextReceiver(inputLine_);
    }
}

void dcGUIConsole::Render()
{
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
