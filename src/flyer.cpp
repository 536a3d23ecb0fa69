#include "flyer.h"

#include "utility/random.h"
#include "utility/timer.h"

unsigned int CFlyer::DisplayListId = 0;

namespace {
constexpr double PLACEMENT_HALF_WIDTH = 6.0;
constexpr double NEAREST_DEPTH = -2.0;
constexpr double FARTHEST_DEPTH = -12.0;
constexpr double MIN_SPEED = 0.15;
constexpr double BACK_OFF_STEP = 0.1;
constexpr double MIN_SPIN = 30.0;
constexpr double MAX_SPIN = 250.0;
}  // namespace

CFlyer::CFlyer()
{
    // Each draw is its own statement: the order of the draws is part of the
    // program's behaviour, and the order in which function arguments are
    // evaluated is not fixed.
    const double px = RandomRange(-PLACEMENT_HALF_WIDTH, PLACEMENT_HALF_WIDTH);
    const double py = RandomRange(-PLACEMENT_HALF_WIDTH, PLACEMENT_HALF_WIDTH);
    double pz = RandomRange(FARTHEST_DEPTH, NEAREST_DEPTH);
    // Until the first frame-rate sample exists, every flyer starts far away.
    if (SampleFrameRate == 0.0) pz = FARTHEST_DEPTH;
    position.Set(px, py, pz);

    do {
        const double vx = RandomRange(-1, 1);
        const double vy = RandomRange(-1, 1);
        velocity.Set(vx, vy, 0);
    } while (velocity.Length() < MIN_SPEED);

    // Back away against the direction of travel until the flyer stands on the
    // spawn sphere, so that it crosses the view before it leaves.
    do {
        position.x -= velocity.x * BACK_OFF_STEP;
        position.y -= velocity.y * BACK_OFF_STEP;
        position.z -= velocity.z * BACK_OFF_STEP;
    } while (position.Length() < SPAWN_RADIUS);

    angle = 0.0;
    spin = RandomRange(MIN_SPIN, MAX_SPIN);
    if (Random_Next() % 2 == 0) spin = -spin;
}

void CFlyer::Update(double time_interval_s)
{
    angle = angle + time_interval_s * spin;
    const Vector3 step(velocity.x * time_interval_s, velocity.y * time_interval_s,
                       velocity.z * time_interval_s);
    position += step;
}

bool CFlyer::IsOutOfRange() const { return position.Length() > RETIREMENT_RADIUS; }
