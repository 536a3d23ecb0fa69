// Routines looked up by name come back as the generic FARPROC; this turns one
// into its real type. Going through void(*)() keeps the compiler from
// comparing two unrelated function types.
#pragma once

#include "platform/win32_api.h"

template <typename Routine>
Routine RoutineFrom(FARPROC address)
{
    return reinterpret_cast<Routine>(reinterpret_cast<void (*)()>(address));
}
