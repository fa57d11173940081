#pragma once
// A type-checked down-cast: the object as the derived type, or the assertion exception
// "dynamic_cast<_leftT>(var) != 0" when it is of another type or null. Callers may use
// the result without a further check.
#include "core/Exception.h"

#include <boost/format.hpp>

template <typename _leftT, typename _rightT> _leftT CheckedDownCast(_rightT* var)
{
    MAKO_ASSERT(dynamic_cast<_leftT>(var) != 0);
    return dynamic_cast<_leftT>(var);
}
