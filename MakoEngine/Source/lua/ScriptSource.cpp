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

ScriptSource::OwnCheck& CurrentOwnCheck()
{
    static ScriptSource::OwnCheck check;
    return check;
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

ScriptSource::OwnCheck ScriptSource::SetOwnCheck(OwnCheck check)
{
    OwnCheck previous = std::move(CurrentOwnCheck());
    CurrentOwnCheck() = std::move(check);
    return previous;
}

std::string ScriptSource::ReadOwn(const std::string& name)
{
    const OwnCheck& check = CurrentOwnCheck();
    // Without a check nothing tells the program's files from others: nothing counts as its own.
    if (!check || !check(name))
        MAKO_THROW(ScriptError, "The script resource \"" + name +
                                    "\" is not one of the program's own files; it is not run.");
    return Read(name);
}
