// One copy of the built-in model in the scene: it enters at the edge of a
// sphere round the viewer, slides across the view at a constant velocity in
// the plane of the screen while spinning about the view axis, and reports
// when it has left the sphere.
#pragma once

#include "utility/mathutil.h"

// Flyers start on the sphere of this radius (in world units)...
const int SPAWN_RADIUS = 18;
// ...and are retired beyond this one, which is also the far clipping plane.
const int RETIREMENT_RADIUS = SPAWN_RADIUS + 2;

// Makes the model's material `index` the current front and back material
// (outside glBegin/glEnd). The model's display list records it at each
// change of material.
void ApplyMeshMaterial(int index);

class CFlyer {
public:
    // The constructor is the spawn: it draws the flyer's place, velocity and
    // spin from the random sequence in a fixed order.
    CFlyer();

    void Update(double time_interval_s);
    bool IsOutOfRange() const;
    // Draws the model at the flyer's place and angle; the projection is set
    // and lighting is on.
    void Draw() const;

    // Compiles the built-in model into its display list, once per process,
    // with an OpenGL context current.
    static void CreateDisplayList();

    Vector3 position;  // centre in view space; the viewer looks down -z
    Vector3 velocity;  // units per second; z is always 0
    double angle;      // degrees about z, accumulating without wrap
    double spin;       // degrees per second, 30 to 250 either way

    // Name of the compiled model's display list; 0 until it is compiled.
    static unsigned int DisplayListId;
};
