// The share of GDI that the Linux hosts' font tables have in common.
#pragma once

#include "platform/wintypes.h"

// Win32's MulDiv: the 64-bit product divided and rounded half away from zero;
// -1 for a zero divisor or a result that does not fit.
int WINAPI MulDivLinux(int number, int numerator, int denominator);

// LOGPIXELSY of a screen `pixels` high and `millimetres` tall; 96, Windows'
// own default, when the screen does not say its size.
int PixelsPerInchLinux(int pixels, int millimetres);
