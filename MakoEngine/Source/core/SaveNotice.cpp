#include "core/SaveNotice.h"

#include "core/Log.h"

#include <deque>

namespace {

std::deque<std::string>& Pending()
{
    static std::deque<std::string> pending;
    return pending;
}

SaveNotice::Teller& InstalledTeller()
{
    static SaveNotice::Teller teller;
    return teller;
}

} // namespace

std::string SaveNotice::TextFor(const std::string& what)
{
    return "Not saved: " + what +
           ". Another copy of the game saved it first; that copy's save was kept, and the "
           "changes made here to it are lost.";
}

void SaveNotice::Refused(const std::string& what)
{
    const std::string text = TextFor(what);
    Log("Warning: %s\n", text.c_str());
    Pending().push_back(text);
}

void SaveNotice::SetTeller(Teller teller)
{
    InstalledTeller() = std::move(teller);
}

void SaveNotice::TellPending()
{
    if (Pending().empty() || !InstalledTeller())
        return;
    if (InstalledTeller()(Pending().front()))
        Pending().pop_front();
}

int SaveNotice::CountPending()
{
    return static_cast<int>(Pending().size());
}
