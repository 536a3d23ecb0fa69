// The Linux program: the same entry, framework and window procedures as the
// Windows screen saver, over the X11 host's tables. As WinMain does there, it
// hands the framework the program's own parts before the entry runs.
#include "framework/entry.h"
#include "framework/saver_window.h"
#include "main.h"
#include "platform/entry.h"
#include "platform/saver_window.h"
#include "platform/x11/x11_display.h"
#include "utility/diagnostics.h"

namespace {
// The about box needs no window classes on this host either.
BOOL NoDialogClasses(HINSTANCE) { return TRUE; }
}  // namespace

int main()
{
    Entry.RunSaver = RunSaver;
    Entry.RegisterSaverDialogClasses = NoDialogClasses;
    // The about box's behaviour lives in the GTK window itself.
    Entry.ScreenSaverConfigureDialog = nullptr;
    SaverWindowOps.ScreenSaverProc = ScreenSaverProc;
    Diagnostics.MessageBeep = X11MessageBeep;
    SaverEntry();
    return 1;  // SaverEntry ends the process itself
}
