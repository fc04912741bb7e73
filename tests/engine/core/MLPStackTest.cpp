#include "engine/core/ConsoleCommand.h"
#include "engine/core/MLP.h"
#include "engine/core/MLPStack.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/CountingCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A module that writes what happens to it into a shared journal.
class JournalModule : public MLP {
public:
    JournalModule(const char* name, std::vector<std::string>& journal) : journal_(journal), tag_(name)
    {
        SetName(WideStringFromChars(name, -1));
    }
    void Update() override { journal_.push_back(tag_ + " update"); }
    void Render() override { journal_.push_back(tag_ + " render"); }
    void Enter() override { journal_.push_back(tag_ + " enter"); }
    void Leave() override { journal_.push_back(tag_ + " leave"); }
    void Popped() override { journal_.push_back(tag_ + " popped"); }

private:
    std::vector<std::string>& journal_;
    std::string tag_;
};

class MLPStackTest : public testing::Test {
protected:
    MLPStackTest() { stack.EnableStacking(); }

    // One frame: the pass repeats while it reports a switch, then the modules render.
    void Frame()
    {
        stack.BeginPass();
        while (stack.RunModuleSteps()) {
            stack.BeginPass();
        }
        stack.RenderModules();
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }

    std::vector<std::string> journal;
    MLPStack stack;
    JournalModule menu{"menu", journal};
    JournalModule options{"options", journal};
    JournalModule loading{"loading", journal};
};

} // namespace

TEST_F(MLPStackTest, SwitchesCallLeaveAndEnter)
{
    stack.Set(&menu, true);
    menu.SetTime(3.0f);
    stack.Push(&options, false);
    EXPECT_EQ(Take(), (std::vector<std::string>{"menu enter", "menu leave"}));
    EXPECT_EQ(stack.Current(), &options);
    EXPECT_EQ(stack.Previous(), &menu);
    EXPECT_EQ(stack.Entries(), std::vector<MLP*>{&menu});
    EXPECT_EQ(options.GetFade(), 0.0f);

    loading.SetFade(0.5f);
    stack.PushWithFade(&loading, false);
    EXPECT_EQ(loading.GetFade(), 1.0f);
    EXPECT_EQ(Take(), (std::vector<std::string>{"options leave", "loading enter"}));
}

TEST_F(MLPStackTest, FadingModuleIsDrawnOverTheLastShownOne)
{
    stack.Set(&menu, true);
    menu.SetFade(1.0f);
    Frame();
    stack.Push(&options, true);
    Take();

    Frame();
    EXPECT_EQ(Take(), (std::vector<std::string>{"options update", "menu render", "options render"}));
    EXPECT_EQ(stack.Entries().size(), 1u);

    options.SetFade(1.0f);
    Frame();   // faded in: the stack goes
    EXPECT_EQ(Take(), (std::vector<std::string>{"options update", "menu popped", "options render"}));
    EXPECT_TRUE(stack.Entries().empty());
}

TEST_F(MLPStackTest, OlderStackedModulesGoWhileTheTopOneFades)
{
    menu.SetFade(1.0f);
    options.SetFade(1.0f);
    stack.Set(&menu, false);
    stack.PushWithFade(&options, false);
    stack.PushWithFade(&loading, true);
    menu.SetFlag(MLP::kStayStacked, true);
    Frame();
    Take();
    // menu stays stacked, options is the topmost fully shown module.
    EXPECT_EQ(stack.Entries(), (std::vector<MLP*>{&menu, &options}));

    stack.RenderModules();
    EXPECT_EQ(Take(), (std::vector<std::string>{"menu render", "options render", "loading render"}));

    menu.SetFlag(MLP::kStayStacked, false);
    stack.RenderModules();
    EXPECT_EQ(Take(), (std::vector<std::string>{"menu popped", "options render", "loading render"}));
}

TEST_F(MLPStackTest, SwitchDuringInputPopsEverythingButDuringUpdateKeepsStayStacked)
{
    class SwitchingModule : public MLP {
    public:
        SwitchingModule(MLPStack& stack, MLP& target) : stack_(stack), target_(target) {}
        void Update() override { stack_.Set(&target_, false); }

    private:
        MLPStack& stack_;
        MLP& target_;
    };

    menu.SetFlag(MLP::kStayStacked, true);
    options.SetFlag(MLP::kStayStacked, true);
    loading.SetFade(1.0f);

    // During input: the new module came in fully shown, the whole stack goes.
    stack.Set(&menu, false);
    stack.Push(&options, false);
    stack.BeginPass();
    stack.Set(&loading, false);
    EXPECT_TRUE(stack.RunModuleSteps());
    EXPECT_TRUE(stack.Entries().empty());

    // During an update: stay-stacked entries are kept.
    SwitchingModule switcher(stack, loading);
    stack.Set(&menu, false);
    stack.Push(&switcher, false);
    stack.BeginPass();
    EXPECT_TRUE(stack.RunModuleSteps());
    EXPECT_EQ(stack.Entries(), std::vector<MLP*>{&menu});
    EXPECT_EQ(stack.Current(), &loading);
}

TEST_F(MLPStackTest, StackedModulesUpdateOnlyWhenFlagged)
{
    stack.Set(&menu, false);
    stack.Push(&options, false);
    stack.BeginPass();
    stack.RunModuleSteps();
    EXPECT_EQ(Take(), (std::vector<std::string>{"menu leave", "options update"}));

    menu.SetFlag(MLP::kUpdateWhileStacked, true);
    stack.BeginPass();
    stack.RunModuleSteps();
    EXPECT_EQ(Take(), (std::vector<std::string>{"menu update", "options update"}));
}

TEST_F(MLPStackTest, PrintListsTheStackAndTheCurrentModule)
{
    ScopedCapture log(kLogMessage);
    stack.Push(&menu, false);   // no current module yet: a none entry
    stack.Push(&options, false);
    stack.Print();
    EXPECT_EQ(log->lines, (std::vector<WideString>{L"MLPStack has 3 entries", L"0. null", L"1. menu", L"2. options"}));

    Frame();
    EXPECT_EQ(stack.Entries().front(), nullptr);   // never popped
}

TEST_F(MLPStackTest, MissingModulesAreRefused)
{
    ScopedCapture log(kLogError);
    stack.Set(&menu, false);
    stack.Push(nullptr, true);
    stack.Set(nullptr, true);
    EXPECT_EQ(stack.Current(), &menu);
    EXPECT_TRUE(stack.Entries().empty());
    EXPECT_EQ(log->lines.size(), 2u);
}

TEST(MLPCommands, FirstRegistrationOfANameWins)
{
    MLP module;
    CountingCommand first("FPS");
    CountingCommand second("FPS");
    module.AddCommand(&first);
    module.AddCommand(&second);
    EXPECT_EQ(second.GetOwner(), &module);

    EXPECT_TRUE(module.RunCommand(L"FPS", L"1"));
    EXPECT_FALSE(module.RunCommand(L"fps", L"1"));
    EXPECT_EQ(first.received, std::vector<WideString>{L"1"});
    EXPECT_TRUE(second.received.empty());

    // Removing the one that lost keeps the winner registered.
    EXPECT_EQ(module.RemoveCommand(&second), 0);
    EXPECT_EQ(second.GetOwner(), nullptr);
    EXPECT_TRUE(module.HasCommand(L"FPS"));
    EXPECT_EQ(module.RemoveCommand(&first), 1);
    EXPECT_FALSE(module.HasCommand(L"FPS"));
}
