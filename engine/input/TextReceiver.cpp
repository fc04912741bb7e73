#include "engine/input/TextReceiver.h"

namespace {

constexpr wchar_t kBackspace = 8;
constexpr wchar_t kFirstPrintable = 32;
constexpr wchar_t kDelete = 127;   // what Ctrl+Backspace types

// Ctrl with a letter types the control codes below 32; none of them is text,
// and once in a name or a command they would be invisible but still there.
bool IsControlCharacter(wchar_t character)
{
    return character < kFirstPrintable || character == kDelete;
}

} // namespace

void TextReceiver::Type(wchar_t character)
{
    if (character == kBackspace) {
        if (!text.empty()) {
            text.pop_back();
        }
        if (caret > 0) {
            --caret;
        }
        // A text its owner set may hold a terminator; what follows it was never visible.
        const size_t terminator = text.find(L'\0');
        if (terminator != WideString::npos) {
            text.resize(terminator);
        }
        return;
    }
    if (IsControlCharacter(character)) {
        return;
    }
    text.push_back(character);
    ++caret;
}
