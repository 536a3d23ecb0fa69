#include "platform/entry.h"

// The saver window's run, the dialog-class registration and the dialog
// procedure belong to the program's Windows host, which sets those entries
// before the entry runs; until then they are empty.
EntryPlatform Entry = {
    GetCommandLineA,
    CharNextA,
    GetModuleHandleA,
    GetVersionExA,
    IsWindow,
    GetForegroundWindow,
    DialogBoxParamA,
    LoadLibraryA,
    GetProcAddress,
    FreeLibrary,
    SetUnhandledExceptionFilter,
    ExitProcess,
    nullptr,
    nullptr,
    nullptr,
};
