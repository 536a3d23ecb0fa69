// The one saver window: a topmost pop-up covering the screen (full-screen
// saving) or a child of the host's preview window, and its message loop.
// SaverWindowProc takes the framework's share of the window's messages and
// hands the rest to the program's ScreenSaverProc.
#pragma once

#include "platform/win32_api.h"

extern HWND SaverWindow;
extern HMODULE ImeModule;
extern FARPROC ImeAssociateFn;
extern HIMC SavedInputContext;

// The saver window's class, and the titles by which the host and other
// instances know it.
extern const char SAVER_WINDOW_CLASS[];
extern const char FULL_SCREEN_TITLE[];
extern const char PREVIEW_TITLE[];

// No parent: full-screen saving; a host window: preview inside it. Returns
// the message loop's result: 0 after a normal run or when a full-screen saver
// already runs, 1 when the window could not be made.
int RunSaver(HWND parent);

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
