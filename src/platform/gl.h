// OpenGL 1.1 and GLU for the shared scene code. Windows' GL header needs the
// Win32 declarations first.
#pragma once

#include "platform/wintypes.h"

#include <GL/gl.h>
#include <GL/glu.h>
