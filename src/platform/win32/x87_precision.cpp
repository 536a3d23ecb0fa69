#include "platform/win32/x87_precision.h"

#include <float.h>

void UseDoublePrecision()
{
    // The C runtime's own call, present in every msvcrt.dll.
    _controlfp(_PC_53, _MCW_PC);
}
