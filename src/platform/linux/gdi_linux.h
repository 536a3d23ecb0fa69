// The share of GDI that the Linux hosts' font tables have in common.
#pragma once

#include "platform/wintypes.h"

// Win32's MulDiv: the 64-bit product divided and rounded half away from zero;
// -1 for a zero divisor or a result that does not fit.
int WINAPI MulDivLinux(int number, int numerator, int denominator);

// LOGPIXELSY of a screen `pixels` high and `millimetres` tall; 96, Windows'
// own default, when the screen does not say its size.
int PixelsPerInchLinux(int pixels, int millimetres);

// SelectObject for the font records of the Linux tables: the device context
// names its font and the font its device context, so that the font's end
// leaves no dangling name (UnselectFontLinux). Returns the font selected
// before.
template <typename DeviceContext, typename Font>
Font* SelectFontLinux(DeviceContext* dc, Font* font)
{
    Font* previous = dc->selected_font;
    if (previous != nullptr) previous->selected_into = nullptr;
    dc->selected_font = font;
    font->selected_into = dc;
    return previous;
}

// A device context whose font goes falls back to its default one.
template <typename Font>
void UnselectFontLinux(Font* font)
{
    if (font->selected_into != nullptr) font->selected_into->selected_font = nullptr;
}
