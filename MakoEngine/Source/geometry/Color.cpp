#include "geometry/Color.h"

#include "core/Exception.h"
#include "core/ValueTypeError.h"
#include "geometry/Colors.h"
#include "lua/MakoLuaState.h"

#include <cmath>

using LuaPlus::LuaObject;

namespace {

// A table component as a byte: converted to an integer the way scripts convert values
// (numbers and numeric strings, truncated toward zero), then its low 8 bits; any other
// value (a missing entry included), or a number out of any integer range, gives 0.
std::uint8_t ComponentByte(const LuaObject& value)
{
    if (!value.IsConvertibleToNumber())
        return 0;
    const double d = value.GetNumber();
    if (!std::isfinite(d) || std::fabs(d) >= 9.0e18)
        return 0;
    return static_cast<std::uint8_t>(static_cast<long long>(d) & 0xFF);
}

} // namespace

Color::Color(std::uint8_t red, std::uint8_t green, std::uint8_t blue, const char* name)
    : r(red), g(green), b(blue), a(255)
{
    if (name)
        Colors::Define(name, *this);
}

Color::Color(const LuaObject& value)
{
    SetColor(value);
}

Color Color::FromRGBA(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha)
{
    Color c(red, green, blue);
    c.a = alpha;
    return c;
}

void Color::SetColor(const LuaObject& value)
{
    if (value.IsString()) {
        *this = Colors::ByName(value.GetString());
        return;
    }
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a colour name or a table {r, g, b}", value);
    Color c;
    c.r = ComponentByte(value[1]);
    c.g = ComponentByte(value[2]);
    c.b = ComponentByte(value[3]);
    LuaObject alpha = value[4];
    c.a = alpha.IsNumber() ? ComponentByte(alpha) : 255;
    *this = c;
}

void Color::ToLuaObject(LuaObject& out, bool preferName) const
{
    LuaPlus::LuaState* state = out.GetState() ? out.GetState() : GetGlobalLuaState();
    if (preferName) {
        // Of several names sharing the value, the alphabetically first one, so the result
        // does not depend on the table's hash order.
        const std::string* best = nullptr;
        for (const auto& entry : Colors::GetTable())
            if (entry.second == *this && (!best || entry.first < *best))
                best = &entry.first;
        if (best) {
            out.AssignString(state, *best);
            return;
        }
    }
    out.AssignNewTable(state, 4, 0);
    out.SetInteger(1, r);
    out.SetInteger(2, g);
    out.SetInteger(3, b);
    if (a < 255)
        out.SetInteger(4, a);
}

namespace Palette {

const Color Black(0, 0, 0, "Black");
const Color Blue(0, 0, 255, "Blue");
const Color DarkGrayBlue(13, 37, 121, "DarkGrayBlue");
const Color VeryDarkGray(48, 48, 48, "VeryDarkGray");
const Color Green(0, 255, 0, "Green");
const Color LightGreen(195, 252, 173, "LightGreen");
const Color MediumGreen(0, 200, 0, "MediumGreen");
const Color DarkGreen(0, 155, 0, "DarkGreen");
const Color MildBlue(0, 102, 255, "MildBlue");
const Color MildOrange(255, 128, 0, "MildOrange");
const Color Purple(255, 0, 255, "Purple");
const Color Red(255, 0, 0, "Red");
const Color MediumRed(200, 0, 0, "MediumRed");
const Color DarkRed(155, 0, 0, "DarkRed");
const Color White(255, 255, 255, "White");
const Color OffWhite(255, 255, 220, "OffWhite");
const Color Yellow(255, 255, 0, "Yellow");
const Color LightYellow(255, 255, 100, "LightYellow");
const Color Gray(150, 150, 150, "Gray");
const Color Orange(255, 186, 0, "Orange");
const Color MildPurple(186, 0, 255, "MildPurple");
const Color Gold(255, 250, 0, "Gold");
const Color LightGrayBlue(73, 117, 159, "LightGrayBlue");
const Color Brick(217, 58, 15, "Brick");
const Color Atari(217, 58, 16, "Atari");
const Color Steel(200, 192, 190, "Steel");
const Color Stone(167, 145, 120, "Stone");
const Color Wood(183, 102, 6, "Wood");
const Color Glass(9, 30, 46, "Glass");
const Color Bumper(200, 200, 46, "Bumper");

} // namespace Palette
