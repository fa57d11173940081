#include "geometry/ScriptCoordinates.h"

#include "core/Exception.h"
#include "lua/ScriptValueReaders.h"

#include <boost/format.hpp>

#include <cmath>
#include <sstream>

using LuaPlus::LuaObject;

namespace {

// A point, size or rectangle a script gave that cannot be used: the message says which
// and why.
[[noreturn]] void Fail(const std::string& message)
{
    throw ApplyPropertyError(MAKO_WHERE, message);
}

// A number as a script shows it (up to 14 significant digits).
std::string NumberText(double value)
{
    std::ostringstream out;
    out.precision(14);
    out << value;
    return out.str();
}

// The entry resolved (a function gives its result) when that is a number.
bool ResolvesToNumber(const LuaObject& entry, double& number)
{
    if (entry.IsNil())
        return false;
    const LuaObject value = ResolveScriptValue(entry);
    if (!value.IsNumber())
        return false;
    number = value.GetNumber();
    return true;
}

} // namespace

std::string DescribeCoordinateOwner(const CoordinateLabel& label)
{
    if (label.name)
        return boost::str(boost::format("The %1% \"%2%\"") % label.kind % label.name);
    return boost::str(boost::format("The %1%") % label.kind);
}

double ReadCoordinate(const LuaObject& table, const char* key, int index,
                      const CoordinateLabel& label)
{
    double number = 0;
    if (ResolvesToNumber(table[key], number) || ResolvesToNumber(table[index], number))
        return number;
    Fail(boost::str(boost::format("%1% needs a number for \"%2%\".") %
                    DescribeCoordinateOwner(label) % key));
}

int CheckCoordinateRange(double value, int low, int high, const char* key,
                         const CoordinateLabel& label)
{
    const double truncated = std::trunc(value);
    if (truncated >= low && truncated <= high)
        return static_cast<int>(truncated);
    Fail(boost::str(boost::format("%1% needs \"%2%\" in %3%..%4%, not %5%.") %
                    DescribeCoordinateOwner(label) % key % low % high % NumberText(value)));
}

void RequireCoordinateTable(const LuaObject& value, const CoordinateLabel& label)
{
    if (!value.IsTable())
        Fail(boost::str(boost::format("%1% needs a table, not a %2%.") %
                        DescribeCoordinateOwner(label) % value.TypeName()));
}
