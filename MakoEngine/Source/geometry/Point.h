#pragma once
// A point of two coordinates of one numeric type: Point<int> for pixels, Point<float>
// (Point2f) for polygon vertices and motions, Point<double> for physics positions.
//
// Script form: a table {x = .., y = ..} (or {.., ..}, each entry a number or a function
// giving one); a polar {r = .., theta = ..} with
// theta in radians is read too. Tables made by ToLuaObject carry a per-type metatable
// whose __eq compares both coordinates exactly, so scripts can compare points with ==.
#include <cmath>

namespace LuaPlus {
class LuaObject;
class LuaState;
} // namespace LuaPlus

template <typename T> struct Point
{
    T x = 0;
    T y = 0;

    Point() = default;
    Point(T px, T py) : x(px), y(py) {}
    // Read from a script value (SetPoint).
    explicit Point(const LuaPlus::LuaObject& value, const char* name = nullptr)
    {
        SetPoint(value, name);
    }

    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }
    Point operator+(const Point& o) const { return Point(x + o.x, y + o.y); }
    Point operator-(const Point& o) const { return Point(x - o.x, y - o.y); }
    Point operator*(T s) const { return Point(x * s, y * s); }

    // Reads the point from a script table, Cartesian or polar. Each Cartesian coordinate
    // is a number or a function giving one. Failures raise the engine's assertion
    // exceptions, naming the value by `name` when given ("The point \"position\" needs a
    // number for \"y\"."); the point is unchanged then.
    void SetPoint(const LuaPlus::LuaObject& value, const char* name = nullptr);

    // A new table {x = .., y = ..} with this type's equality metatable, in the state
    // (null: the engine's script state).
    LuaPlus::LuaObject ToLuaObject(LuaPlus::LuaState* state = nullptr) const;
    // Sets the equality metatable and the fields x and y on an existing table.
    void FillLuaObject(LuaPlus::LuaObject& table) const;
    // Gives the table this type's equality metatable (made once per script state).
    static void SetEqMetatable(LuaPlus::LuaObject& table);
    // True when the value is a table (the only shape a point can have in a script).
    static bool IsPoint(const LuaPlus::LuaObject& value);

    // Scales (x, y) to the given length; a zero vector becomes (length, 0).
    void SetLength(T length)
    {
        const T r = static_cast<T>(std::sqrt(x * x + y * y));
        if (r != 0) {
            x = x * (length / r);
            y = y * (length / r);
        } else {
            x = length;
            y = 0;
        }
    }
    T GetLength() const { return static_cast<T>(std::sqrt(x * x + y * y)); }

    // Turns the vector by angle radians (counter-clockwise in a y-up frame).
    void Rotate(T angle)
    {
        const T c = static_cast<T>(std::cos(angle));
        const T s = static_cast<T>(std::sin(angle));
        const T nx = c * x - s * y;
        const T ny = c * y + s * x;
        x = nx;
        y = ny;
    }
};

using Point2f = Point<float>;

extern template struct Point<int>;
extern template struct Point<float>;
extern template struct Point<double>;
