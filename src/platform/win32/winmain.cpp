// The Windows program: hands the framework the program's own window
// procedures and the about box, then lets the framework's entry run the mode
// that the command line selects.
#include "framework/entry.h"
#include "framework/saver_window.h"
#include "main.h"
#include "platform/entry.h"
#include "platform/saver_window.h"
#include "platform/win32/x87_precision.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything computes: the scene's doubles must round as in every
    // other build.
    UseDoublePrecision();
    Entry.RunSaver = RunSaver;
    Entry.RegisterSaverDialogClasses = RegisterSaverDialogClasses;
    Entry.ScreenSaverConfigureDialog = ScreenSaverConfigureDialog;
    SaverWindowOps.ScreenSaverProc = ScreenSaverProc;
    SaverEntry();  // ends the process with the mode's result
    return 1;
}
