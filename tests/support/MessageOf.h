#pragma once
// The message of the exception that running `action` raises ("" when none).
#include <exception>
#include <string>

namespace bbtest {

template <typename F> std::string MessageOf(F action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

} // namespace bbtest
