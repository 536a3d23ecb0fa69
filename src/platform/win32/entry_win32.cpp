#include "platform/entry.h"

// The saver window's run, the dialog-class registration and the dialog
// procedure belong to the program, which sets them before the entry runs;
// until then they are empty.
EntryPlatform Entry = {
    .GetCommandLineA = GetCommandLineA,
    .CharNextA = CharNextA,
    .GetModuleHandleA = GetModuleHandleA,
    .GetVersionExA = GetVersionExA,
    .IsWindow = IsWindow,
    .GetForegroundWindow = GetForegroundWindow,
    .DialogBoxParamA = DialogBoxParamA,
    .LoadLibraryA = LoadLibraryA,
    .GetProcAddress = GetProcAddress,
    .FreeLibrary = FreeLibrary,
    .SetUnhandledExceptionFilter = SetUnhandledExceptionFilter,
    .ExitProcess = ExitProcess,
    .RunSaver = nullptr,
    .RegisterSaverDialogClasses = nullptr,
    .ScreenSaverConfigureDialog = nullptr,
};
