#include "physics/OdeRuntime.h"

#include "core/Exception.h"
#include "physics/PhysicsServices.h"

#include <boost/format.hpp>
#include <ode/ode.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

int gOdeReferences = 0;

std::string FormatOdeMessage(const char* format, va_list args)
{
    char buffer[1024];
    std::vsnprintf(buffer, sizeof(buffer), format ? format : "", args);
    return buffer;
}

// ODE's fatal errors (dError): raised as an Exception so the caller can unwind.
void OdeErrorHandler(int errnum, const char* format, va_list args)
{
    const std::string text = FormatOdeMessage(format, args);
    throw Exception(MAKO_WHERE, boost::str(boost::format("ODE error %1%: %2%") % errnum % text));
}

// ODE's failed argument and internal checks (dDebug): raised as an Exception instead of
// aborting.
void OdeDebugHandler(int errnum, const char* format, va_list args)
{
    const std::string text = FormatOdeMessage(format, args);
    throw Exception(MAKO_WHERE,
                    boost::str(boost::format("ODE check failed %1%: %2%") % errnum % text));
}

// ODE's warnings (dMessage): logged, play goes on.
void OdeMessageHandler(int errnum, const char* format, va_list args)
{
    PhysicsLogWarning(boost::str(boost::format("ODE message %1%: %2%") % errnum %
                                 FormatOdeMessage(format, args)));
}

} // namespace

void OdeRuntime::InstallHandlers()
{
    dSetErrorHandler(OdeErrorHandler);
    dSetDebugHandler(OdeDebugHandler);
    dSetMessageHandler(OdeMessageHandler);
}

void OdeRuntime::Acquire()
{
    if (gOdeReferences == 0) {
        InstallHandlers();
        MAKO_ASSERT_MSG(dInitODE2(0) != 0, "ODE could not be initialised");
        if (dAllocateODEDataForThread(dAllocateMaskAll) == 0) {
            dCloseODE();
            MAKO_THROW(Exception, "The physics library could not allocate its collision data.");
        }
    }
    ++gOdeReferences;
}

void OdeRuntime::Release()
{
    MAKO_ASSERT(gOdeReferences > 0);
    if (--gOdeReferences == 0)
        dCloseODE();
}

int OdeRuntime::GetReferenceCount()
{
    return gOdeReferences;
}
