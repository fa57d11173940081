#include "resources/ResourceScanner.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/StopSignal.h"
#include "core/Utility.h"
#include "core/WorkMeter.h"
#include "lua/DataScript.h"
#include "lua/MakoLuaState.h"
#include "resources/FileReader.h"
#include "resources/MetadataRanges.h"
#include "resources/ResourceManager.h"

#include <boost/format.hpp>

#include <algorithm>
#include <vector>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using LuaPlus::LuaTableIterator;

ResourceInfoMap MakeResourceInfoMap()
{
    ResourceInfoMap map;
    map.reserve(100);
    return map;
}

bool ResourceScanner::IsMetadataFile(const std::string& fileName)
{
    return EndsWith(fileName, "image.cfg") || EndsWith(fileName, "sound.cfg") ||
           EndsWith(fileName, "metadata.cfg");
}

namespace {

// Runs the metadata file's text as a data file (lua/DataScript): it sees only its loader
// Metadata, and one that never ends, grows without end, reaches for more or leaves a
// function of its own in its metadata raises ResourceLoadError naming the file and why.
void RunMetadataText(LuaState* state, const std::string& file, const void* data, uint32_t size)
{
    LuaObject environment;
    environment.AssignNewTable(state);
    environment.SetObject("Metadata", state->GetGlobal("Metadata"));
    std::string error;
    const std::string text(static_cast<const char*>(data), size);
    if (DataScript::Run(state, text, "=metadata", environment, "metadata file " + file, error) ==
        0) {
        // A function of the file would run when a loader reads the value, outside the budget.
        const std::string where =
            DataScript::FindOwnFunction(state->GetGlobal("Pending_Metadata"), environment);
        if (where.empty())
            return;
        error = "the file holds a function it made, at " + where;
    }
    MAKO_THROW(ResourceLoadError,
               boost::str(boost::format("The metadata file \"%1%\" could not be run: %2%") % file %
                          error));
}

} // namespace

namespace {

// The file's entries that can be applied, by picture or sound name, in sorted order. An entry
// named by anything but a string, holding anything but a table, or naming no file of the
// folder is left out; the first of those (in the order of their keys' text, however the table
// lists them) is put into words in fault, with how many more there were. A file whose table
// of entries is no longer a table has none: that is raised, as a file that could not be run.
std::vector<std::pair<std::string, LuaObject>> MetadataEntries(const LuaObject& pending,
                                                               const std::string& file,
                                                               const ResourceInfoMap& outputList,
                                                               std::string& fault)
{
    if (!pending.IsTable())
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("The metadata file \"%1%\" replaced its table of "
                                            "entries") %
                              file));
    std::vector<std::pair<std::string, LuaObject>> entries;
    // Each entry left out: its key's text and what is wrong with it.
    std::vector<std::pair<std::string, std::string>> faults;
    for (LuaTableIterator it(pending); it; it.Next()) {
        const std::string keyText = DataKeyText(it.GetKey());
        if (!it.GetKey().IsString()) {
            faults.emplace_back(keyText, boost::str(boost::format("names an entry by %1%; entries "
                                                                  "are named by the file names "
                                                                  "of pictures and sounds") %
                                                    keyText));
        } else if (!it.GetValue().IsTable()) {
            faults.emplace_back(keyText, boost::str(boost::format("gives \"%1%\" a %2%, not a "
                                                                  "table") %
                                                    keyText % it.GetValue().TypeName()));
        } else if (outputList.find(it.GetKey().GetString()) == outputList.end()) {
            faults.emplace_back(keyText, boost::str(boost::format("names \"%1%\", which is no "
                                                                  "file of its folder") %
                                                    keyText));
        } else {
            entries.emplace_back(it.GetKey().GetString(), it.GetValue());
        }
    }
    // Entries are applied, and faults chosen, in sorted order, so that nothing said or done
    // depends on the traversal order of the table.
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!faults.empty()) {
        const auto first = std::min_element(faults.begin(), faults.end());
        fault = "The metadata file \"" + file + "\" " + first->second + "; ";
        fault += faults.size() == 1 ? std::string("the entry is left out")
                                    : "it and " + std::to_string(faults.size() - 1) +
                                          " more faulty entries are left out";
    }
    return entries;
}

} // namespace

void ResourceScanner::ProcessMetadataFile(ResourceInfo& metaInfo, ResourceInfoMap& outputList)
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT_MSG(manager != 0, "There is no resource manager.");
    LuaState* state = manager->GetLuaState();
    const std::string& file = metaInfo.Name();

    LuaObject globals = state->GetGlobals();
    globals.CreateTable("Pending_Metadata");
    // The work on the file's values, and what is said about them, are the file's own.
    WorkMeter meter("the metadata file \"" + file + "\"");
    DataReport::Cap cap;
    try {
        const void* data = nullptr;
        uint32_t size = 0;
        metaInfo.GetReader()->Read(file, data, size);
        RunMetadataText(state, file, data, size);
        std::string fault;
        std::vector<std::pair<std::string, LuaObject>> entries =
            MetadataEntries(globals["Pending_Metadata"], file, outputList, fault);
        if (!fault.empty())
            DataReport::WarnOfPack(fault);
        // Numbers are held to their ranges before any loader or user reads them; the
        // entries are given to their files only once all of them are mended.
        std::vector<std::string> said;
        for (auto& entry : entries)
            for (const std::string& line : MetadataRanges::MendEntry(entry.second))
                said.push_back(boost::str(boost::format("the metadata file \"%1%\" gives "
                                                        "\"%2%\" %3%") %
                                          file % ShortenedText(entry.first) % line));
        for (const std::string& line : said)
            DataReport::WarnOfPack(line);
        for (auto& entry : entries)
            outputList.find(entry.first)->second->SetMetadata(entry.second, file);
    } catch (const WorkSpent&) {
        globals.SetNil("Pending_Metadata");
        // A stop ends the start; a file that needs more work than any written one is left
        // out, its pictures and sounds read as if it were not there.
        if (StopSignal::IsRequested())
            throw;
        DataReport::WarnOfPack(meter.Describe() + "; its pictures and sounds are read without it");
        return;
    } catch (const std::exception& error) {
        globals.SetNil("Pending_Metadata");
        // A file that cannot be read or run is the pack's fault, not the program's: its
        // folder's pictures and sounds are read as if it were not there (plain pictures of
        // one frame), and the game goes on. A stop that cut its run short ends the start; the
        // program's own mistakes pass on.
        if (ObjectBoundary::FaultOf(&error) != ObjectBoundary::Fault::Data)
            throw;
        std::string text = ObjectBoundary::TextOf(error);
        if (text.find(file) == std::string::npos)
            text = "The metadata file \"" + file + "\" could not be applied: " + text;
        DataReport::WarnOfPack(text + "; its pictures and sounds are read without it");
        return;
    } catch (...) {
        globals.SetNil("Pending_Metadata");
        throw;
    }
    globals.SetNil("Pending_Metadata");
}
