#include "engine/audio/AudioDevice.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/files/FileStream.h"
#include "engine/gui/RtfLog.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string FileText(const wchar_t* name)
{
    FileStream in(name);
    std::string text(std::max(in.GetSize(), 0), '\0');
    text.resize(in.Read(text.data(), static_cast<int32_t>(text.size())));
    return text;
}

} // namespace

TEST(RtfLog, ColourCodesBecomeTextColours)
{
    struct Case {
        const wchar_t* message;
        const char* paragraph;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"^1Error^7:", "\\cf0 \\cf1 Error\\cf7 :"},
             {L"Misc\\Config.VKS {x}", "\\cf0 Misc\\\\Config.VKS \\{x\\}"},
             {L"100^^ sure^", "\\cf0 100^ sure^"},
             {L"^x^9^ ok", "\\cf0 ok"},
             {L"^{a}", "\\cf0 a\\}"}}) {
        EXPECT_EQ(RtfLog::Paragraph(c.message), c.paragraph);
    }
}

// Only "^0" to "^7" name colours of the table; any other code is dropped,
// as the screen drops it, so no paragraph names a colour the document lacks.
TEST(RtfLog, EveryColourCodeNamesAColourOfTheTable)
{
    for (wchar_t code = 1; code < 0x3000; ++code) {
        const std::string paragraph = RtfLog::Paragraph(WideString(L"a^") + code + L"b");
        const bool colour = code >= L'0' && code <= L'7';
        const std::string expected = colour   ? "\\cf0 a\\cf" + std::to_string(code - L'0') + " b"
                                     : code == L'^' ? "\\cf0 a^b"
                                                    : "\\cf0 ab";
        EXPECT_EQ(paragraph, expected) << static_cast<int>(code);
    }
}

TEST(RtfLog, TheDocumentIsCompleteAfterEveryLine)
{
    ScratchFolder scratch;
    const std::string header =
        "{\\rtf1\r\n{\\colortbl;\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red255\\green255\\blue0;"
        "\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red255\\green0\\blue255;\\red0\\green0\\blue0;}\r\n";
    RtfLog log(L"Console.RTF");
    EXPECT_EQ(FileText(L"Console.RTF"), header + "}\r\n");
    log.Write(L"^1Error^7:");
    log.Write(L"Shutting down...");
    EXPECT_EQ(FileText(L"Console.RTF"),
              header + "\\cf0 \\cf1 Error\\cf7 :\\par\r\n\\cf0 Shutting down...\\par\r\n}\r\n");
}

// Lines of the engine's start-up, before its devices exist, are in the file
// too: at -W3 the languages it selects, first by number, then by name.
TEST(RtfLog, TheEnginesLogFileHasEveryLineOfItsStart)
{
    ScratchFolder scratch;
    std::filesystem::copy(std::filesystem::path(FixturePath(L"languages")) / "Misc", "Misc");
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    {
        dcEngine& engine = dcEngine::Instance();
        engine.Init(kLogVerbose);
        engine.Start(nullptr, nullptr, nullptr, L"English");
        engine.Shutdown();
        const std::string text = FileText(L"Console.RTF");
        EXPECT_NE(text.find("ENGINE: Language = Misc\\\\Deutsch.DCL"), std::string::npos) << text;
        EXPECT_NE(text.find("ENGINE: Language = Misc\\\\English.DCL"), std::string::npos) << text;
    }
    ArchiveList::Instance().UnmountAll();
    LogHub::Instance().SetLevel(kLogMessage);
}
