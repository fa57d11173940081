#pragma once
// The colour value of the whole system: red, green, blue and alpha bytes in this order
// (alpha 255 is opaque). A colour read from a script may be a name of the named-colour
// table (display/Colors.h) or a table of components {r, g, b [, a]}.
#include "luaplus/LuaPlus.h"

#include <cstdint>

class Color
{
public:
    // Opaque black.
    Color() = default;
    // Opaque (alpha 255). A non-null name enters the colour into the named-colour table
    // under that name (replacing an earlier colour of the name).
    Color(std::uint8_t red, std::uint8_t green, std::uint8_t blue, const char* name = nullptr);
    explicit Color(const LuaPlus::LuaObject& value);

    static Color FromRGBA(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                          std::uint8_t alpha);

    // From a colour name, or from a table {r, g, b [, a]}: each component truncated to an
    // integer and cut to its low 8 bits, a missing component 0, alpha 255 unless entry 4
    // is a number. Any other value, or an unknown name, raises the assertion "false".
    void SetColor(const LuaPlus::LuaObject& value);

    // Writes the colour into out (bound to out's state, else to the engine's state). With
    // preferName, a name of the named-colour table whose four bytes equal this colour's
    // is written as a string; otherwise (or when none matches) a new table {r, g, b},
    // with a fourth entry only when alpha < 255.
    void ToLuaObject(LuaPlus::LuaObject& out, bool preferName) const;

    bool operator==(const Color& other) const
    {
        return r == other.r && g == other.g && b == other.b && a == other.a;
    }
    bool operator!=(const Color& other) const { return !(*this == other); }

    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

static_assert(sizeof(Color) == 4, "Color is four bytes");

// The built-in colour constants; each is also in the named-colour table under its name.
namespace Palette {
extern const Color Black, Blue, DarkGrayBlue, VeryDarkGray, Green, LightGreen, MediumGreen,
    DarkGreen, MildBlue, MildOrange, Purple, Red, MediumRed, DarkRed, White, OffWhite, Yellow,
    LightYellow, Gray, Orange, MildPurple, Gold, LightGrayBlue, Brick, Atari, Steel, Stone, Wood,
    Glass, Bumper;
} // namespace Palette
