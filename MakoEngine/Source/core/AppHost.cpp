#include "core/AppHost.h"

namespace {

AppHost* gHost = nullptr;

} // namespace

AppHost* GetAppHost()
{
    return gHost;
}

AppHost* SetAppHost(AppHost* host)
{
    AppHost* previous = gHost;
    gHost = host;
    return previous;
}
