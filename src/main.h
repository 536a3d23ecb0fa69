// The Windows program's own window procedures and its checked platform
// call: the saver window's procedure, the render window that draws the scene,
// and the about box.
#pragma once

#include "platform/win32_api.h"
#include "resources/resource.h"

// The render window's device context and OpenGL context, from its creation
// to its destruction; NULL otherwise.
extern HDC RenderDC;
extern HGLRC RenderContext;

// The program's procedure for the saver window: on creation it seeds the
// random sequence and makes the render window that fills the saver window.
LRESULT CALLBACK ScreenSaverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The render window: owns the OpenGL context and draws one frame per paint.
LRESULT CALLBACK ScreenSaverChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

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
