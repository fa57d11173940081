#pragma once
// A point of two coordinates of one numeric type: Point<int> for pixels, Point<float>
// (Point2f) for polygon vertices, Point<double> for physics positions.

template <typename T> struct Point
{
    T x = 0;
    T y = 0;

    Point() = default;
    Point(T px, T py) : x(px), y(py) {}

    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }
};

using Point2f = Point<float>;
