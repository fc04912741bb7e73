#pragma once
// A text that typed characters go to while it is the front receiver of the
// input system: the console's input line, a menu's text field. Its owner
// pushes it, removes it again before it goes away, and may set the text and
// the caret count itself (for example when it recalls a history line).

#include "engine/files/WideString.h"

#include <cstdint>

struct TextReceiver {
    // A typed character: backspace takes the last one away; control
    // characters are ignored; any other is appended.
    void Type(wchar_t character);

    WideString text;
    int32_t caret = 0;   // characters typed into it
};
