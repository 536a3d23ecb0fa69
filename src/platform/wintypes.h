// The Win32 vocabulary that the shared code is written in. On Windows it is
// the real <windows.h>; elsewhere win32_vocabulary.h supplies the few names
// that code uses, with the same values, so that it reads as plain Win32 on
// every host.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/win32_vocabulary.h"
#endif
