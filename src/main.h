// The program's own window procedures and its checked platform call.
// Windows only: the framework shows the about box and runs the saver window
// through these.
#pragma once

#include "platform/wintypes.h"
#include "resources/resource.h"

// Ends the process with an error box "<function_name> failed." and exit code
// 1 when a call that the saver cannot do without returned its failure value.
// Handles, BOOL results, pixel-format indexes and class atoms all pass as
// integers.
void CheckResult(INT_PTR result, INT_PTR failure_value, const char* function_name);

// The about box (dialog template IDD_CONFIGURE).
INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The about box needs no window classes of its own; always TRUE.
BOOL RegisterSaverDialogClasses(HINSTANCE instance);
// Makes HandCursor, the pointer shown over the links.
void LoadHandCursor();
// The program's own copy of the pointing hand while the about box exists;
// NULL when none could be made, and after the box has gone.
extern HCURSOR HandCursor;
