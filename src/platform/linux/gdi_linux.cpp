#include "platform/linux/gdi_linux.h"

#include <climits>
#include <cstdlib>

namespace {
constexpr double MILLIMETRES_PER_INCH = 25.4;
constexpr int DEFAULT_PIXELS_PER_INCH = 96;
}  // namespace

int WINAPI MulDivLinux(int number, int numerator, int denominator)
{
    if (denominator == 0) return -1;
    const long long product = (long long)number * numerator;
    long long magnitude =
        (llabs(product) + llabs((long long)denominator) / 2) / llabs((long long)denominator);
    if ((product < 0) != (denominator < 0)) magnitude = -magnitude;
    if (magnitude > INT_MAX || magnitude < INT_MIN) return -1;
    return int(magnitude);
}

int PixelsPerInchLinux(int pixels, int millimetres)
{
    if (millimetres <= 0 || pixels <= 0) return DEFAULT_PIXELS_PER_INCH;
    return int(pixels * MILLIMETRES_PER_INCH / millimetres + 0.5);
}
