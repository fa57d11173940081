#include "players/PlayerScript.h"

#include <cmath>
#include <limits>

namespace PlayerScript {

bool IsInteger(const LuaPlus::LuaObject& value)
{
    if (!value.IsNumber())
        return false;
    double number = value.GetNumber();
    return std::floor(number) == number && number >= std::numeric_limits<int>::min() &&
           number <= std::numeric_limits<int>::max();
}

} // namespace PlayerScript
