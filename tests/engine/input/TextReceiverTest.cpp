#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

class TextInput : public ScriptedInput {
protected:
    void Type(const WideString& characters)
    {
        for (wchar_t c : characters) {
            input->OnChar(c);
        }
    }
};

TEST(TextReceiver, TypingAppendsAndBackspaceTakesAway)
{
    struct Case {
        WideString text;
        int32_t caret;
        WideString typed;
        WideString expectedText;
        int32_t expectedCaret;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"", 0, L"Hi!", L"Hi!", 3},
             {L"", 0, L"ab\bc", L"ac", 2},
             {L"", 0, L"\b", L"", 0},
             {L"", 0, L"a\b\b\b", L"", 0},
             {L"say", 0, L"\b", L"sa", 0},   // an owner's text counts no caret
             {L"", 0, L"\x00fc\x00df", L"\x00fc\x00df", 2},
             // Control characters (Ctrl+letter, Ctrl+Backspace) are no text.
             {L"go", 2, WideString{L'\x01', L'\x16', L'\x1b', L'\x7f', L'\0'}, L"go", 2},
             // Whatever an owner left after a terminator goes with the next backspace.
             {WideString{L'a', L'b', L'\0', L'c', L'd'}, 5, L"\b", L"ab", 4}}) {
        TextReceiver receiver{c.text, c.caret};
        for (wchar_t typed : c.typed) {
            receiver.Type(typed);
        }
        EXPECT_EQ(receiver.text, c.expectedText) << WideStringToNarrow(c.typed);
        EXPECT_EQ(receiver.caret, c.expectedCaret) << WideStringToNarrow(c.typed);
    }
}

TEST_F(TextInput, CharactersGoToTheFrontReceiver)
{
    TextReceiver console;
    TextReceiver name;
    Type(L"lost");   // nobody listens yet: dropped
    input->PushTextReceiver(console);
    Type(L"god");
    input->PushTextReceiver(name);
    Type(L"Ann");
    input->RemoveTextReceiver(name);
    Type(L"s");
    EXPECT_EQ(console.text, L"gods");
    EXPECT_EQ(name.text, L"Ann");

    input->RemoveTextReceiver(console);
    Type(L"x");
    EXPECT_EQ(console.text, L"gods");
}

TEST_F(TextInput, RemovingTakesOutTheFrontmostEntryOnly)
{
    TextReceiver line;
    TextReceiver field;
    input->PushTextReceiver(line);
    input->PushTextReceiver(field);
    input->PushTextReceiver(line);
    input->RemoveTextReceiver(line);
    Type(L"f");
    input->RemoveTextReceiver(field);
    Type(L"l");
    EXPECT_EQ(field.text, L"f");
    EXPECT_EQ(line.text, L"l");

    TextReceiver stranger;
    input->RemoveTextReceiver(stranger);
    Type(L"l");
    EXPECT_EQ(line.text, L"ll");
}

TEST_F(TextInput, ShutdownForgetsTheReceivers)
{
    TextReceiver line;
    Open();
    input->PushTextReceiver(line);
    Open();   // again: shuts down first
    Type(L"x");
    EXPECT_EQ(line.text, L"");
}

} // namespace
