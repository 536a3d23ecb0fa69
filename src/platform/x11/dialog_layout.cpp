#include "platform/x11/dialog_layout.h"

const RECT ABOUT_BOX_UNITS = {0, 0, 181, 194};
const RECT ABOUT_TEXT_UNITS = {25, 15, 131, 147};
const RECT MAIL_LINK_UNITS = {51, 68, 78, 14};
const RECT WEB_LINK_UNITS = {55, 104, 71, 11};
const RECT OK_BUTTON_UNITS = {65, 172, 50, 14};

namespace {
constexpr int ALPHABET_HALF = 26;

// Win32's MulDiv for the non-negative values of a layout: rounded half up.
LONG Scale(LONG value, int numerator, int denominator)
{
    return LONG((static_cast<long long>(value) * numerator + denominator / 2) / denominator);
}
}  // namespace

DialogBaseUnits BaseUnitsOf(int alphabet_width, int font_height)
{
    return DialogBaseUnits{(alphabet_width / ALPHABET_HALF + 1) / 2, font_height};
}

RECT DialogUnitsToPixels(const RECT& units, DialogBaseUnits base)
{
    return RECT{Scale(units.left, base.x, 4), Scale(units.top, base.y, 8),
                Scale(units.right, base.x, 4), Scale(units.bottom, base.y, 8)};
}
