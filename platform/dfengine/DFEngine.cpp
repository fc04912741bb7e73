// The component's one export. The engine creates it at start-up; until the
// component does more, it answers that there is nothing to create.

extern "C" __declspec(dllexport) void* CreateDFEngine()
{
    return nullptr;
}
