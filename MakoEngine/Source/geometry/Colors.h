#pragma once
// The process-wide named-colour table: case-sensitive names to colours. It holds the
// built-in constants (display/Color.h) from before program entry; the script function
// `Colors` (a table of name = colour definitions) adds and redefines names at run time.
#include "geometry/Color.h"

#include <string>
#include <unordered_map>

class Colors
{
public:
    using Table = std::unordered_map<std::string, Color>;

    // The colour of that name; an unknown name raises the assertion "false".
    static Color ByName(const std::string& name);
    // Enters or replaces a name.
    static void Define(const std::string& name, const Color& color);
    // The whole table (created on first use, never destroyed).
    static Table& GetTable();
};
