// First: it includes the Win32 headers ahead of the engine's.
#include "tests/frontend/SettingsTestSupport.h"

#include "engine/gui/BindingWidget.h"

namespace {

constexpr int32_t kSpace = 57;
constexpr int32_t kEnter = 28;
constexpr int32_t kKeyPadEnter = 156;
constexpr int32_t kLeftAlt = 56;

class ControlBindingsTest : public SettingsTest {
protected:
    ~ControlBindingsTest() override { SelectedBindingSlot = 0; }

    // As a binding row stores a captured input: the column takes the code,
    // then the whole binding goes through the option's change.
    void Bind(int32_t binding, int32_t column, int32_t code)
    {
        SelectedBindingSlot = column;
        ControlBinding& edited = options.bindings[binding].value;
        (column == 0 ? edited.primaryCode : edited.secondaryCode) = code;
        (column == 0 ? edited.primaryText : edited.secondaryText) = CodeName(code);
        options.bindings[binding].Propose(edited);
    }

    std::pair<int32_t, int32_t> Codes(int32_t binding) const
    {
        const ControlBinding& codes = options.bindings[binding].value;
        return {codes.primaryCode, codes.secondaryCode};
    }
};

TEST_F(ControlBindingsTest, ACodeBoundToOneActionIsTakenFromEveryOtherColumnHoldingIt)
{
    scripted->keyNames = {{kSpace, L"Space"}};
    struct Change {
        int32_t binding;
        int32_t column;
        int32_t code;
    };
    struct Case {
        const char* what;
        BindingCodes before10;          // binding 10's codes before the change
        Change change;
        std::vector<std::pair<int32_t, std::pair<int32_t, int32_t>>> after;   // binding, its codes
    };
    for (const Case& c : std::initializer_list<Case>{
             {"Space from binding 6's first column to binding 0's",
              {35, -1},
              {0, 0, kSpace},
              {{0, {kSpace, -1}}, {6, {-1, kLeftAlt}}}},
             {"a code in both columns of binding 10",
              {99, 99},
              {3, 0, 99},
              {{3, {99, -1}}, {10, {-1, -1}}}},
             {"Enter into binding 0's second column",
              {35, -1},
              {0, 1, kEnter},
              {{0, {200, kEnter}}, {5, {-1, kKeyPadEnter}}}},
             {"a code no other binding holds",
              {35, -1},
              {1, 0, 77},
              {{1, {77, -1}}, {10, {35, -1}}}}}) {
        config.SetDefaults();
        StoreBindingCodes(options.bindings[10].value, c.before10);
        settingsSaveCountdown = 0.0f;
        Bind(c.change.binding, c.change.column, c.change.code);
        for (const auto& [binding, codes] : c.after) {
            EXPECT_EQ(Codes(binding), codes) << c.what << ": binding " << binding;
        }
        for (int32_t binding = 0; binding < kBindingCount; ++binding) {
            const ControlBinding& shown = options.bindings[binding].value;
            EXPECT_EQ(shown.primaryText, CodeName(shown.primaryCode)) << c.what << ": binding " << binding;
            EXPECT_EQ(shown.secondaryText, CodeName(shown.secondaryCode)) << c.what << ": binding " << binding;
        }
        EXPECT_EQ(settingsSaveCountdown, kSettingsSaveDelay) << c.what;
    }
}

} // namespace
