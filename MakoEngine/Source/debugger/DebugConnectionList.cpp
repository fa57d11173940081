#include "debugger/DebugConnectionList.h"

#include "core/AtomicFile.h"

#include <cstdio>
#include <fstream>

namespace {
const std::size_t MAX_LINE = 199;

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
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

std::vector<DebugConnectionList::Entry> DebugConnectionList::Read(const std::string& path)
{
    std::vector<Entry> entries;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return entries;
    std::string name, address;
    while (NextLine(in, name) && !name.empty()) {
        if (!NextLine(in, address) || address.empty())
            break;
        Entry entry;
        entry.name = name;
        if (entry.address.Parse(address))
            entries.push_back(entry);
    }
    return entries;
}

int DebugConnectionList::Write(const std::string& path, const std::vector<Entry>& entries)
{
    std::string text;
    for (const Entry& entry : entries)
        text += entry.name + '\n' + entry.address.Format() + '\n';
    return TryWriteFileAtomically(path, text);
}
