// The Win32 vocabulary that the program's shared code is written in.
// On Windows it is the real <windows.h>; on Linux the X11 host supplies the
// same names, with the same values, so that the shared logic reads as plain
// Win32 on both hosts and message numbers pass through unchanged.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "x11/win32_compat.h"
#endif
