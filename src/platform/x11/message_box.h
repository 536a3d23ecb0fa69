// Modal windows of the X11 host drawn with GTK 3: the message box (the error
// notice of a failed call) and the about box. Both connect to the X server on
// their own, through GTK.
#pragma once

#include "platform/wintypes.h"

// MessageBoxA: the text under the caption with one OK button; the X bell
// sounds for a box with an icon, as Windows plays the icon's sound. Returns
// IDOK, or 0 when no window can be shown (the text then goes to standard
// error).
int WINAPI GtkMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// DialogBoxParamA for the about box, the one dialog of the program: returns 1
// when closed with OK, -1 when no window can be shown.
INT_PTR WINAPI GtkAboutBox(HINSTANCE instance, LPCSTR dialog, HWND owner, DLGPROC procedure, LPARAM parameter);
