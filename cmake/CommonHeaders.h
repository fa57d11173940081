// The precompiled header of the engine's targets (BB_PCH): standard, Boost, SDL and Lua
// headers that most source files read. Only headers from outside the project belong here,
// so a file that forgets an include of the project's own still fails to build.
#pragma once

// The one header of the project's own: every C++ file reads it anyway (the build's -include,
// which a precompiled header must come before).
#include "../MakoEngine/Source/core/Lifetime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <boost/format.hpp>
#include <boost/optional.hpp>
#include <boost/shared_ptr.hpp>

#include <SDL.h>
#include <lua.hpp>
