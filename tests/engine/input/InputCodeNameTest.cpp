#include "tests/engine/input/ScriptedInputFixture.h"

namespace {

class CodeNames : public ScriptedInput {
protected:
    void SetUp() override
    {
        devices->keyNames[kKeyEscape] = L"Esc";
        Attach(2);
        Open();
    }

    WideString Text(int32_t key) { return language.GetText(key); }
};

TEST(InputCodes, DecodeIntoDeviceAndIndex)
{
    struct Case {
        int32_t code;
        InputCodeKind kind;
        int32_t controller;
        int32_t index;
    };
    for (const Case& c : std::initializer_list<Case>{
             {-1, InputCodeKind::kNone, 0, 0},
             {-300, InputCodeKind::kNone, 0, 0},
             {0, InputCodeKind::kKey, 0, 0},
             {254, InputCodeKind::kKey, 0, 254},
             {255, InputCodeKind::kMouseButton, 0, 0},
             {262, InputCodeKind::kMouseButton, 0, 7},
             {263, InputCodeKind::kMouseAxisHalf, 0, 0},
             {268, InputCodeKind::kMouseAxisHalf, 0, 5},
             {269, InputCodeKind::kControllerButton, 0, 0},
             {396, InputCodeKind::kControllerButton, 0, 127},
             {397, InputCodeKind::kControllerAxisHalf, 0, 0},
             {406, InputCodeKind::kControllerAxisHalf, 0, 9},
             {407, InputCodeKind::kControllerButton, 1, 0},
             {269 + 138 + 3, InputCodeKind::kControllerButton, 1, 3},
             {1510, InputCodeKind::kControllerAxisHalf, 8, 9}}) {
        const DecodedInputCode decoded = DecodeInputCode(c.code);
        EXPECT_EQ(decoded.kind, c.kind) << c.code;
        if (c.kind != InputCodeKind::kNone) {
            EXPECT_EQ(decoded.controller, c.controller) << c.code;
            EXPECT_EQ(decoded.index, c.index) << c.code;
        }
    }
    EXPECT_EQ(MouseButtonCode(2), 257);
    EXPECT_EQ(ControllerButtonCode(1, 3), 269 + 138 + 3);
    EXPECT_EQ(ControllerAxisHalfCode(1, 0), 397 + 138);
}

TEST_F(CodeNames, ComeFromTheKeyboardOrTheLanguageTexts)
{
    struct Case {
        int32_t code;
        WideString name;
    };
    for (const Case& c : std::initializer_list<Case>{
             {kKeyEscape, L"Esc"},
             {57, Text(32769) + L" 57"},
             {255, Text(32770)},
             {262, Text(32777)},
             {263, Text(32778)},
             {268, Text(32783)},
             {269, Text(32784) + L"1 " + Text(32791) + L" 1"},
             {269 + 138 + 3, Text(32784) + L"2 " + Text(32791) + L" 4"},
             {269 + 127, Text(32784) + L"1 " + Text(32791) + L" 128"},
             {269 + 128, Text(32784) + L"1 " + Text(32785)},
             {269 + 133, Text(32784) + L"1 " + Text(32790)},
             // The four halves without an axis are named like the y and z halves.
             {269 + 134, Text(32784) + L"1 " + Text(32787)},
             {269 + 138 + 137, Text(32784) + L"2 " + Text(32790)},
             {kNoInputCode, Text(32768)},
             {-40, Text(32768)},
             {269 + 2 * 138, Text(32768)},   // a third controller is not attached
         }) {
        EXPECT_EQ(input->GetCodeName(c.code), c.name) << c.code;
    }
}

TEST_F(CodeNames, ControllerNamesGoWithTheControllers)
{
    input->Shutdown();
    EXPECT_EQ(input->GetCodeName(269), Text(32768));
}

TEST(CodeNamesWithoutLanguage, AreEmptyButSafe)
{
    InputSystem input(std::make_unique<ScriptedInputDevices>(), nullptr);
    EXPECT_EQ(input.GetCodeName(kNoInputCode), L"");
    EXPECT_EQ(input.GetCodeName(57), L" 57");
}

} // namespace
