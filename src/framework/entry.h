// The saver's process entry and the dispatch of its command line to one run
// mode: full-screen saving, preview in a host window, the configuration box,
// or (Windows 95/98 family) the system's password-change dialog.
#pragma once

#include <cstdint>

#include "framework/command_line.h"
#include "platform/win32_api.h"

// Set once by SaverMain before any run mode starts.
extern HINSTANCE SaverInstance;
extern BOOL Win9xFamily;

// Dialog template of the configuration box.
constexpr WORD CONFIGURE_DIALOG_ID = 2003;

// Takes the command line, skips the program name and ends the process with
// SaverMain's result (ExitProcess does not come back).
void SaverEntry();
// Records the instance and the platform family, then runs the mode that the
// command tail selects; its result is the process exit code.
int SaverMain(HINSTANCE instance, LPCSTR tail);

int StartPreview(HWND parent);
int ShowConfigureBox(HWND owner);
int StartChangePassword(HWND owner);
void ChangePassword(HWND owner);

// A window handle as it travels on the command line.
inline HWND HandleFromNumber(DWORD number)
{
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}
