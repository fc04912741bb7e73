// The program's entry function: switches, file sources, the log, the language.

#include "engine/core/LogHub.h"
#include "engine/core/StartupOptions.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/LanguageTable.h"
#include "engine/files/PackArchive.h"
#include "engine/gui/RtfLog.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previousInstance, PWSTR commandLine, int showCommand)
{
    const StartupOptions options = ParseCommandLine(commandLine ? commandLine : L"");

    // Loose files first, so they override the packed ones.
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));

    LogHub::Instance().AddSink(std::make_unique<RtfLog>(L"Console.RTF"));
    LogHub::Instance().SetLevel(options.logLevel);

    LanguageTable language;
    language.FindLanguageFiles();
    language.SelectLanguage(0);
    language.SelectLanguageByName(L"English");

    LogHub::Printf("Shutting down...");
    return 0;
}
