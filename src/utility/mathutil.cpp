#include "utility/mathutil.h"

#include <cmath>

#include "utility/diagnostics.h"
#include "utility/random.h"

double Vector3::Length() const { return std::sqrt(x * x + y * y + z * z); }

double RandomRange(double lower, double upper)
{
    const double range = upper - lower;
    ASSERT(upper - lower > -EPSILON);
    const int r = Random_Next();
    // The scale factor is the double nearest to 1/32767, and the order of the
    // operations is fixed so that every build draws the same values.
    const double x = lower + (r * range) * (1.0 / 32767.0);
    ASSERT(x - lower > -EPSILON && upper - x > -EPSILON);
    return x;
}
