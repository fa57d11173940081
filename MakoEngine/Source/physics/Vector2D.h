#pragma once
// A 2-D vector of doubles: velocities in pixels per second, contact normals, forces.
#include <cmath>

struct Vector2D
{
    double x = 0.0;
    double y = 0.0;

    Vector2D() = default;
    Vector2D(double vx, double vy) : x(vx), y(vy) {}

    double Length() const { return std::sqrt(x * x + y * y); }
    double Dot(const Vector2D& other) const { return x * other.x + y * other.y; }

    // Scales the vector to the given length; a zero vector becomes (length, 0).
    void SetLength(double length)
    {
        const double r = Length();
        if (r == 0.0) {
            x = length;
            y = 0.0;
        } else {
            x *= length / r;
            y *= length / r;
        }
    }

    // Turns the vector by the angle in radians (counter-clockwise in a y-up frame).
    void Rotate(double angle)
    {
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const double nx = x * c - y * s;
        y = x * s + y * c;
        x = nx;
    }

    Vector2D operator+(const Vector2D& o) const { return Vector2D(x + o.x, y + o.y); }
    Vector2D operator-(const Vector2D& o) const { return Vector2D(x - o.x, y - o.y); }
    Vector2D operator-() const { return Vector2D(-x, -y); }
    Vector2D operator*(double k) const { return Vector2D(x * k, y * k); }
};
