#include "lua/ScriptSource.h"

#include "core/Exception.h"

#include <boost/format.hpp>

#include <utility>

namespace {
ScriptSource::Provider& CurrentProvider()
{
    static ScriptSource::Provider provider;
    return provider;
}
} // namespace

ScriptSource::Provider ScriptSource::SetProvider(Provider provider)
{
    Provider previous = std::move(CurrentProvider());
    CurrentProvider() = std::move(provider);
    return previous;
}

std::string ScriptSource::Read(const std::string& name)
{
    const Provider& provider = CurrentProvider();
    if (!provider)
        throw ResourceNotFoundException(
            MAKO_WHERE,
            boost::str(boost::format("Could not find resource info with name = %1%") % name), name);
    return provider(name);
}
