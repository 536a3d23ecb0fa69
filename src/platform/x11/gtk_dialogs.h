// The Linux program's two modal windows, drawn with GTK 3: the error box of a
// full-screen run started by hand, and the about box. Both connect to the X
// server on their own, through GTK.
#pragma once

#include <X11/X.h>

// The text under the caption "Lumenfall" with one OK button, and the X bell;
// the text goes to standard error instead when no window can be shown.
void ShowErrorBox(const char* text);

// Returns 1 when closed with OK, -1 when no window can be shown. `owner` is
// the X window it belongs to, None for none.
int ShowAboutBox(Window owner);
