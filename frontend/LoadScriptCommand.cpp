#include "frontend/LoadScriptCommand.h"

#include "frontend/dcLoadScreen.h"

void LoadScriptCommand::Execute(const WideString& arguments)
{
    WideString script;
    PushLoadScreen(FormatWideString(script, "Scripts\\%s.dcScript", arguments.c_str()), L"Maps\\World.DCW");
}
