// The Win32 API of the code that runs only on Windows: the screen-saver
// framework's window, loop, close and password handling, the program's
// window procedures and about box, and the tables beneath them. Natively
// that code is built only for its tests, whose stand-in for the rest of
// <windows.h> is on the include path of that build alone.
#pragma once

#include "platform/wintypes.h"

#ifndef _WIN32
#include <win32_stand_in.h>
#endif
