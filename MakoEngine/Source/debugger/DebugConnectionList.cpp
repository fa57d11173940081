#include "debugger/DebugConnectionList.h"

#include "core/AtomicFile.h"
#include "core/Log.h"
#include "core/UserDataFile.h"

#include <sstream>

namespace {
const std::size_t MAX_LINE = 199;
// The largest list read, in bytes, and the most pairs looked at (the last ones of the
// file): the game writes a handful.
const std::size_t MAX_BYTES = 64 * 1024;
const std::size_t MAX_PAIRS = 16;

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// The text with every control character shown as '?', for a line of the log.
std::string Printable(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = '?';
    return text;
}

bool NextLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    if (line.size() > MAX_LINE)
        line.resize(MAX_LINE);
    line = Trim(line);
    return true;
}
} // namespace

namespace {
std::string TextOf(const std::vector<DebugConnectionList::Entry>& entries)
{
    std::string text;
    for (const DebugConnectionList::Entry& entry : entries)
        text += entry.name + '\n' + entry.address.Format() + '\n';
    return text;
}
} // namespace

std::vector<DebugConnectionList::Entry> DebugConnectionList::Read(const std::string& path,
                                                                  bool* unreadable)
{
    std::string text, reason;
    const UserFileReadResult result = ReadRegularFile(path, MAX_BYTES, text, reason);
    if (unreadable)
        *unreadable = result == USERFILE_UNREADABLE;
    return Parse(path, result, text, reason);
}

std::vector<DebugConnectionList::Entry> DebugConnectionList::Read(PlayerFileKeeper& keeper,
                                                                  const std::string& path)
{
    std::string text, reason;
    const UserFileReadResult result = keeper.Read(path, MAX_BYTES, text, reason);
    keeper.Forget(path);
    if (result == USERFILE_UNREADABLE)
        keeper.Hold(path, "it could not be read: " + reason, true);
    // No list and an empty one are the same: no file is made for no clients.
    if (result == USERFILE_MISSING)
        keeper.NoteReadAs(path, TextOf({}));
    return Parse(path, result, text, reason);
}

std::vector<DebugConnectionList::Entry> DebugConnectionList::Parse(const std::string& path,
                                                                   UserFileReadResult result,
                                                                   const std::string& text,
                                                                   const std::string& reason)
{
    std::vector<Entry> entries;
    if (result == USERFILE_UNREADABLE)
        Log("Warning: the debugger's connection list \"%s\" stays where it is (it could not "
            "be read: %s): no client is reattached, and the file is never written over.\n",
            path.c_str(), reason.c_str());
    if (result == USERFILE_REFUSED)
        Log("Warning: the debugger's connection list \"%s\" was ignored: %s\n", path.c_str(),
            reason.c_str());
    if (result != USERFILE_READ)
        return entries;
    std::istringstream in(text);
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string name, address;
    while (NextLine(in, name) && !name.empty()) {
        if (!NextLine(in, address) || address.empty())
            break;
        pairs.emplace_back(name, address);
    }
    if (pairs.size() > MAX_PAIRS)
        pairs.erase(pairs.begin(), pairs.end() - MAX_PAIRS);
    for (const auto& pair : pairs) {
        Entry entry;
        entry.name = pair.first;
        if (entry.address.Parse(pair.second) && entry.address.IsLoopback())
            entries.push_back(entry);
        else
            Log("Warning: the debugger's connection list \"%s\" names \"%s\" for the client "
                "\"%s\", which is not an address of this machine in numbers (127.x.x.x:port "
                "or [::1]:port); that client is not reattached.\n",
                path.c_str(), Printable(pair.second).c_str(), Printable(pair.first).c_str());
    }
    return entries;
}

KeeperSave DebugConnectionList::Write(PlayerFileKeeper& keeper, const std::string& path,
                                      const std::vector<Entry>& entries,
                                      SaveTurn::Patience patience)
{
    return keeper.Save(path, TextOf(entries), patience);
}

const PlayerFileKeeper::Wording DebugConnectionList::kWording = {
    "Warning: the debugger's connection list \"%1%\" stays where it is (%2%): the file is "
    "never written over.\n",
    "Warning: the debugger's connection list is not saved in this run (%1%).\n"};
