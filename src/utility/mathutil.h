// A small double-precision vector and uniform draws from a closed range.
#pragma once

class Vector3 {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Vector3() = default;
    Vector3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    void Set(double x_, double y_, double z_)
    {
        x = x_;
        y = y_;
        z = z_;
    }

    Vector3& operator+=(const Vector3& other)
    {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }

    double Length() const;
};

// A double in [lower, upper] from the next value of the random sequence.
double RandomRange(double lower, double upper);
