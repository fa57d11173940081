#include "resources/ResourceScanner.h"

#include "core/Exception.h"
#include "core/Log.h"
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
// function of its own in its metadata fails. A broken
// file is reported with its name instead of leaving its resources silently without
// metadata.
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

void ResourceScanner::ProcessMetadataFile(ResourceInfo& metaInfo, ResourceInfoMap& outputList)
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT_MSG(manager != 0, "There is no resource manager.");
    LuaState* state = manager->GetLuaState();
    const std::string& file = metaInfo.Name();

    LuaObject globals = state->GetGlobals();
    globals.CreateTable("Pending_Metadata");

    // The run, the search for functions and the mending are the work of this one file: a
    // file that needs more than a file should, or whose load is stopped, fails by its name.
    WorkMeter meter("metadata file \"" + file + "\"");
    try {
        const void* data = nullptr;
        uint32_t size = 0;
        metaInfo.GetReader()->Read(file, data, size);
        RunMetadataText(state, file, data, size);

        LuaObject pending = globals["Pending_Metadata"];
        MAKO_ASSERT_MSG(pending.IsTable(), boost::format("Pending_Metadata was replaced by the "
                                                         "metadata file:\nfile = %1%") %
                                               file);
        std::vector<std::pair<std::string, LuaObject>> entries;
        for (LuaTableIterator it(pending); it; it.Next()) {
            MAKO_ASSERT_MSG(it.GetKey().IsString(),
                            boost::format("Invalid key in metadata file, keys must be "
                                          "strings:\nfile = %1%") %
                                file);
            std::string key = it.GetKey().GetString();
            MAKO_ASSERT_MSG(it.GetValue().IsTable(),
                            boost::format("Invalid metadata entry:\nfile = %1%\nentry = %2%") %
                                file % key);
            entries.emplace_back(key, it.GetValue());
        }
        // Names are matched and applied in sorted order, so that which unknown name is
        // reported never depends on the traversal order of the table.
        std::sort(entries.begin(), entries.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& entry : entries) {
            auto outputListEntryIter = outputList.find(entry.first);
            MAKO_ASSERT_MSG(outputListEntryIter != outputList.end(),
                            boost::format("Invalid key in metadata file, keys must correspond "
                                          "to file names:\nfile = %1%\nentry = %2%") %
                                file % entry.first);
            // Numbers are held to their ranges before any loader or user reads them.
            for (const std::string& line : MetadataRanges::MendEntry(entry.second))
                Log("Warning: the metadata file \"%s\" gives \"%s\" %s\n", file.c_str(),
                    entry.first.c_str(), line.c_str());
            outputListEntryIter->second->SetMetadata(entry.second, file);
        }
    } catch (...) {
        globals.SetNil("Pending_Metadata");
        throw;
    }
    globals.SetNil("Pending_Metadata");
}
