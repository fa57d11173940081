#pragma once
// Failure reports of Direct3D and DirectDraw calls: the message "<step>: <code>, <name>"
// with the result code as an unsigned decimal number and its DirectX name, raised under
// the assertion the call site names.
#include "core/Exception.h"
#include "ddraw/dxerr.h"

#include <boost/format.hpp>

#include <string>

// "<step>: <code>, <name>".
inline std::string D3DFailureText(const std::string& step, HRESULT result)
{
    return boost::str(boost::format("%1%: %2%, %3%") % step % static_cast<std::uint32_t>(result) %
                      DXErrorString(result));
}

inline std::string D3DAssertionText(const char* expression, const std::string& message)
{
    return boost::str(boost::format("Assertion failed: (%1%)\nMessage: %2%") % expression %
                      message);
}

// A failed call while drawing or recovering: Exception.
#define D3D_CHECK(call, step)                                                                      \
    do {                                                                                           \
        HRESULT _hr_ = (call);                                                                     \
        if (_hr_ != S_OK)                                                                          \
            throw Exception(MAKO_WHERE, D3DAssertionText("_hr_ == ((HRESULT)0x00000000L)",         \
                                                         D3DFailureText((step), _hr_)));           \
    } while (0)

// A failed start-up step: DisplayBackendInitError.
#define D3D_INIT_CHECK(call, step)                                                                 \
    do {                                                                                           \
        HRESULT _hr_ = (call);                                                                     \
        if (_hr_ != S_OK)                                                                          \
            throw DisplayBackendInitError(                                                         \
                MAKO_WHERE, D3DAssertionText("_hr_ == S_OK", D3DFailureText((step), _hr_)));       \
    } while (0)
