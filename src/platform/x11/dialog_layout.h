// Dialog units as Windows reckons them, for the X11 host's about box: a
// horizontal unit is a quarter of the dialog font's average character width,
// a vertical one an eighth of its height. The about box's rectangles are
// kept in dialog units and scaled with the font that draws them.
#pragma once

#include "platform/wintypes.h"

struct DialogBaseUnits {
    int x;  // average character width, pixels
    int y;  // character height, pixels
};

// From the width of "A".."Z" followed by "a".."z" and the font's height:
// Windows takes the average over the 52 letters, rounded half up.
DialogBaseUnits BaseUnitsOf(int alphabet_width, int font_height);

// A rectangle given as x, y, width and height in dialog units (in RECT's
// left, top, right and bottom), in pixels.
RECT DialogUnitsToPixels(const RECT& units, DialogBaseUnits base);

// The about box's template, in dialog units (x, y, width, height).
extern const RECT ABOUT_BOX_UNITS;
extern const RECT ABOUT_TEXT_UNITS;
extern const RECT MAIL_LINK_UNITS;
extern const RECT WEB_LINK_UNITS;
extern const RECT OK_BUTTON_UNITS;
