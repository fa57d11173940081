#include "resources/ResourceManager.h"

#include "luaplus/LuaNative.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/FileWriter.h"
#include "core/Log.h"
#include "core/StopSignal.h"
#include "core/Utility.h"
#include "core/WorkMeter.h"
#include "lua/LuaFunctionList.h"
#include "resources/FileReader.h"
#include "resources/MemoryBudget.h"
#include "resources/Resource.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceLoader.h"
#include "resources/ResourceMemory.h"
#include "resources/ResourceScanner.h"
#include "resources/ResourceType.h"
#include "resources/TableResource.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;
using LuaPlus::LuaTableIterator;

namespace {

ResourceManager* gResourceManager = nullptr;

// Collects the metadata tables of a metadata file (see ResourceScanner::ProcessMetadataFile).
const char kMetadataChunk[] = R"lua(
function Metadata(metadata_table)
    assert(type(Pending_Metadata) == "table")
    for k, v in pairs(metadata_table) do
        Pending_Metadata[k] = v
    end
end
)lua";

ResourceManager* ManagerOf(lua_State* L)
{
    return static_cast<ResourceManager*>(lua_touserdata(L, lua_upvalueindex(1)));
}

// Resources.__index (table, name): nil for an unknown name, the table of a table
// resource, else the resource's pointer as light userdata (null when not loaded yet).
int ResourcesIndexBody(lua_State* L)
{
    ResourceInfo* info = nullptr;
    if (lua_type(L, 2) == LUA_TSTRING)
        info = ManagerOf(L)->FindInfo(lua_tostring(L, 2), true);
    if (!info)
        lua_pushnil(L);
    else if (info->GetType() == RESOURCE_TABLE)
        static_cast<TableResource*>(info->GetResource())->GetTable()->Push(L);
    else
        lua_pushlightuserdata(L, info->GetResource());
    return 1;
}

// Resources.__newindex (table, name, value): registers value (a table) as the table
// resource name.
int ResourcesNewIndexBody(lua_State* L)
{
    MAKO_ASSERT_MSG(lua_type(L, 2) == LUA_TSTRING,
                    boost::format("Resource names must be strings, not %1%.") %
                        luaL_typename(L, 2));
    std::string name = lua_tostring(L, 2);
    std::unique_ptr<ResourceInfo> info(new ResourceInfo("", nullptr));
    info->SetResource(new TableResource(new LuaObject(L, 3)));
    info->SetType(RESOURCE_TABLE);
    ManagerOf(L)->AddInfo(name, info.release());
    return 0;
}

} // namespace

ResourceManager* GetResourceManager()
{
    return gResourceManager;
}

bool IsKnownResource(const std::string& name)
{
    return gResourceManager && gResourceManager->FindInfo(name, true) != nullptr;
}

bool IsKnownResourceOfKind(const std::string& name, int kind)
{
    return gResourceManager && gResourceManager->HasOfKind(name, kind);
}

ResourceManager::ResourceManager(LuaState* state)
    : m_State(state), m_PreviousManager(gResourceManager)
{
    MAKO_ASSERT(state != 0);
    try {
        state->DoBuffer(kMetadataChunk, sizeof(kMetadataChunk) - 1, "=Metadata");
    } catch (const LuaPlus::LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
    CreateLuaTables();
    ResetResourceMemoryUsage();
    // The budget makes room through whichever manager is current.
    MemoryBudget::SetReleaser([](long long needed) {
        if (gResourceManager)
            gResourceManager->ReleaseUnused(needed);
    });

    if (m_PreviousManager)
        m_PreviousManager->m_NextManager = this;
    gResourceManager = this;
    m_PreviousScriptSource =
        ScriptSource::SetProvider([this](const std::string& name) { return ReadScript(name); });
    m_PreviousOwnCheck = ScriptSource::SetOwnCheck([this](const std::string& name) {
        // An unknown name is left to the reader, which names it as missing.
        const ResourceInfo* info = FindInfo(name, true);
        return !info || info->IsProgramFile();
    });
}

ResourceManager::~ResourceManager()
{
    if (m_PreviousManager)
        m_PreviousManager->m_NextManager = m_NextManager;
    if (m_NextManager) {
        // A later manager is current (or gave its roles to one still later): it gives back
        // what this one had been given, and this one touches none of the roles.
        m_NextManager->InheritRolesOf(*this);
    } else {
        ScriptSource::SetProvider(std::move(m_PreviousScriptSource));
        ScriptSource::SetOwnCheck(std::move(m_PreviousOwnCheck));
        if (gResourceManager == this)
            gResourceManager = m_PreviousManager;
    }

    ReleaseLuaTables();
    m_Infos.clear();
    m_Replaced.clear();
    m_Loaders.clear();
    m_Scanners.clear();
    m_CacheNames.clear();
}

void ResourceManager::InheritRolesOf(ResourceManager& earlier)
{
    m_PreviousManager = earlier.m_PreviousManager;
    m_PreviousScriptSource = std::move(earlier.m_PreviousScriptSource);
    m_PreviousOwnCheck = std::move(earlier.m_PreviousOwnCheck);
    // The global is this manager's table, not the earlier one's: that one must not put
    // anything back.
    m_PreviousResources = earlier.m_PreviousResources;
    earlier.m_PreviousResources.Reset();
}

void ResourceManager::CreateLuaTables()
{
    LuaObject globals = m_State->GetGlobals();
    m_PreviousResources = globals["Resources"];
    m_Resources = globals.CreateTable("Resources");
    m_Contents = m_Resources.CreateTable("_contents");

    lua_State* L = m_State->GetCState();
    LuaObject meta(m_State);
    meta.AssignNewTable(m_State);
    lua_pushlightuserdata(L, this);
    LuaPlus::PushNativeClosure<ResourcesIndexBody>(L, 1);
    meta.RawSetObject("__index", LuaObject(m_State, -1));
    lua_pop(L, 1);
    lua_pushlightuserdata(L, this);
    LuaPlus::PushNativeClosure<ResourcesNewIndexBody>(L, 1);
    meta.RawSetObject("__newindex", LuaObject(m_State, -1));
    lua_pop(L, 1);
    m_Resources.SetMetaTable(meta);
}

void ResourceManager::ReleaseLuaTables()
{
    // The state may already be gone; then there is nothing left to tidy.
    if (m_Resources.IsSet() && m_Contents.IsSet()) {
        for (const auto& entry : m_Infos)
            m_Contents.RawSetObject(entry.first, LuaObject(m_State));
        m_Resources.SetMetaTable(LuaObject(m_State));
        // Another manager's table comes back, while the global is still this one's.
        LuaObject globals = m_State->GetGlobals();
        if (m_PreviousResources.IsTable() && globals["Resources"] == m_Resources)
            globals.SetObject("Resources", m_PreviousResources);
    }
    m_PreviousResources.Reset();
    m_Contents.Reset();
    m_Resources.Reset();
}

std::string ResourceManager::ReadScript(const std::string& name)
{
    ResourceInfo* info = FindInfo(name);
    FileReader* reader = info->GetReader();
    MAKO_ASSERT_MSG(reader != 0, boost::format("The resource \"%1%\" has no file to read.") % name);
    const void* data = nullptr;
    uint32_t size = 0;
    reader->Read(info->Name(), data, size);
    std::string text(static_cast<const char*>(data), size);
    reader->Close();
    return text;
}

void ResourceManager::AddScanner(ResourceScanner* scanner)
{
    std::unique_ptr<ResourceScanner> owned(scanner);
    Log("Adding resource scanner: %s\n", scanner->GetDescription().c_str());
    m_Scanners.push_back(std::move(owned));
}

void ResourceManager::RemoveScannersAfter(std::size_t count)
{
    if (count < m_Scanners.size())
        m_Scanners.resize(count);
}

void ResourceManager::AddLoader(ResourceLoader* loader)
{
    std::unique_ptr<ResourceLoader> owned(loader);
    Log("Adding resource loader: %s\n", loader->GetDescription().c_str());
    m_Loaders.push_back(std::move(owned));
}

void ResourceManager::ScanAll()
{
    for (auto& scanner : m_Scanners) {
        ResourceInfoMap output = MakeResourceInfoMap();
        scanner->Scan(output);
        // Registered by name order, so the log reads the same on every run.
        std::vector<std::string> names;
        names.reserve(output.size());
        for (const auto& entry : output)
            names.push_back(entry.first);
        std::sort(names.begin(), names.end());
        const bool program = scanner->HoldsProgramFiles();
        for (const std::string& name : names) {
            output[name]->SetProgramFile(program);
            AddInfo(name, output[name].release());
        }
    }
}

void ResourceManager::AddInfo(const std::string& name, ResourceInfo* info)
{
    std::unique_ptr<ResourceInfo> owned(info);
    auto found = m_Infos.find(name);
    if (found != m_Infos.end()) {
        if (found->second.get() == info) {
            owned.release(); // registered already under this name
            return;
        }
        Log("WARNING: Resource being replaced: name = %s\n", name.c_str());
        if (found->second->GetResource())
            m_Replaced.push_back(std::move(found->second));
        m_Infos.erase(found);
    }
    // A new file under that name is tried afresh.
    m_Damaged.erase(name);
    m_Missing.erase(name);
    if (m_Contents.IsSet())
        m_Contents.RawSetObject(name, LuaObject(m_State).AssignLightUserData(m_State, info));
    m_Infos[name] = std::move(owned);
}

std::unique_ptr<ResourceInfo> ResourceManager::TakeInfo(const std::string& name)
{
    auto found = m_Infos.find(name);
    if (found == m_Infos.end())
        return nullptr;
    std::unique_ptr<ResourceInfo> taken = std::move(found->second);
    m_Infos.erase(found);
    if (m_Contents.IsSet())
        m_Contents.RawSetObject(name, LuaObject(m_State));
    return taken;
}

void ResourceManager::ReleaseReplacedAfter(std::size_t count)
{
    if (count < m_Replaced.size())
        m_Replaced.resize(count);
}

ResourceInfo* ResourceManager::FindInfo(const std::string& name, bool nullIfMissing) const
{
    auto found = m_Infos.find(name);
    if (found != m_Infos.end())
        return found->second.get();
    if (nullIfMissing)
        return nullptr;
    throw ResourceNotFoundException(
        MAKO_WHERE,
        boost::str(boost::format("Could not find resource info with name = %1%") % name), name);
}

ResourceLoader* ResourceManager::FindLoader(const ResourceInfo& info) const
{
    for (const auto& loader : m_Loaders)
        if (loader->CanLoad(info))
            return loader.get();
    return nullptr;
}

std::string ResourceManager::TryLoad(ResourceLoader& loader, ResourceInfo& info)
{
    // The loaders decode or copy what they need, so the file's bytes are let go at once
    // rather than kept beside the loaded resource (a later read fetches them again), however
    // the load ends.
    struct ReaderCloser
    {
        ResourceInfo& info;
        ~ReaderCloser()
        {
            if (FileReader* reader = info.GetReader())
                reader->Close();
        }
    } closer{info};
    std::string cause;
    try {
        loader.LoadResource(info.GetReader(), info);
        if (!info.GetResource())
            cause = "the loader made no resource";
    } catch (const WorkSpent& e) {
        // The end of the meter of whoever loads: theirs to name, not the file's.
        if (WorkMeter::Current())
            throw;
        cause = e.GetMessage();
    } catch (const Exception& e) {
        cause = e.GetMessage();
    } catch (const std::bad_alloc&) {
        cause = "it needs more memory than there is";
    }
    if (!cause.empty() && StopSignal::IsRequested()) {
        // A load cut short by a stop of the program says nothing of the file: it is not
        // recorded, and the stop goes on as a stop to the meter's opener when there is one.
        info.SetResource(nullptr);
        const std::string stopped =
            "the load of \"" + info.Name() + "\" was stopped by " + StopSignal::GetName();
        if (WorkMeter::Current())
            MAKO_THROW(WorkSpent, stopped);
        MAKO_THROW(ResourceLoadError, stopped);
    }
    return cause;
}

Resource* ResourceManager::LoadResource(const std::string& name, ResourceInfo* resInfo)
{
    ResourceLoader* loader = FindLoader(*resInfo);
    if (!loader)
        return resInfo->GetResource();
    auto damaged = m_Damaged.find(name);
    if (damaged == m_Damaged.end()) {
        const std::string cause = TryLoad(*loader, *resInfo);
        if (cause.empty())
            return resInfo->GetResource();
        resInfo->SetResource(nullptr);
        RecordDamaged(name, cause);
        damaged = m_Damaged.find(name);
    }
    // A damaged entry lets go of its stand-in with its on-demand siblings: made again here.
    if (!resInfo->GetResource() && loader->LoadStandIn(*resInfo) && resInfo->GetResource())
        return resInfo->GetResource();
    throw ResourceLoadError(MAKO_WHERE, damaged->second);
}

bool ResourceManager::RecordDamaged(const std::string& name, const std::string& cause)
{
    if (!m_Damaged.emplace(name, cause).second)
        return false;
    DataReport::WarnOfPack("the resource \"" + name + "\" could not be loaded (" + cause +
                               "); the game plays without it",
                           name);
    return true;
}

bool ResourceManager::RecordMissing(const std::string& name)
{
    return m_Missing.insert(name).second;
}

std::vector<std::string> ResourceManager::FindNamesEndingWith(const std::string& suffix) const
{
    std::vector<std::string> names;
    for (const auto& entry : m_Infos)
        if (EndsWith(entry.first, suffix))
            names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

Resource* ResourceManager::Acquire(const std::string& name, ResourceInfo** outInfo)
{
    ResourceInfo* info = FindInfo(name);
    if (!info->GetResource()) {
        const std::string prefix = OnDemandPrefixOf(name);
        if (prefix.empty()) {
            LoadResource(name, info);
        } else {
            const auto start = std::chrono::steady_clock::now();
            LoadResource(name, info);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            Log("Loaded on demand: %s (%.1f ms)\n", name.c_str(), took.count());
            ReleaseOnDemandSiblings(name, prefix);
        }
    }
    if (outInfo)
        *outInfo = info;
    info->IncrementAcquireCount();
    info->SetLastUse(++m_Uses);
    return info->GetResource();
}

int ResourceManager::KindOf(const ResourceInfo& info) const
{
    if (info.GetType() != RESOURCE_UNKNOWN)
        return info.GetType();
    for (const auto& loader : m_Loaders)
        if (const int kind = loader->KindOfEntry(info))
            return kind;
    return RESOURCE_UNKNOWN;
}

bool ResourceManager::HasOfKind(const std::string& name, int kind) const
{
    const ResourceInfo* info = FindInfo(name, true);
    if (!info)
        return false;
    const int found = KindOf(*info);
    return found == kind || (found == RESOURCE_UNKNOWN && FindLoader(*info));
}

namespace {

std::string NoSuch(const std::string& name, int kind, int found)
{
    return "no such " + ResourceKindName(kind) + " \"" + name +
           "\" (the resource of that name is a " + ResourceKindName(found, name) + ")";
}

} // namespace

std::string ResourceManager::WhyNotOfKind(const std::string& name, int kind) const
{
    const ResourceInfo* info = FindInfo(name, true);
    if (!info)
        return "\"" + name + "\" is not among the resources";
    return HasOfKind(name, kind) ? std::string() : NoSuch(name, kind, KindOf(*info));
}

Resource* ResourceManager::AcquireOfKind(const std::string& name, int kind, ResourceInfo** outInfo)
{
    const auto refuse = [&](int found) {
        throw ResourceKindError(MAKO_WHERE, NoSuch(name, kind, found), name);
    };
    ResourceInfo* info = FindInfo(name);
    if (!HasOfKind(name, kind))
        refuse(KindOf(*info));
    Resource* resource = Acquire(name, &info);
    if (!resource && KindOf(*info) == kind)
        MAKO_THROW(ResourceLoadError, "the " + ResourceKindName(kind) + " \"" + name +
                                          "\" cannot be loaded while its loader is off");
    if (info->GetType() != kind || !resource)
        refuse(KindOf(*info));
    if (outInfo)
        *outInfo = info;
    return resource;
}

void ResourceManager::SetOnDemandPrefixes(const std::vector<std::string>& prefixes)
{
    m_OnDemandPrefixes.clear();
    for (const std::string& prefix : prefixes)
        if (!prefix.empty())
            m_OnDemandPrefixes.push_back(prefix);
}

void ResourceManager::SetOnDemandPrefixesFromList(const LuaPlus::LuaObject& list)
{
    std::vector<std::string> prefixes;
    if (list.IsTable()) {
        for (int i = 1; !list[i].IsNil(); ++i) {
            if (list[i].IsString())
                prefixes.push_back(list[i].GetString());
            else
                Log("WARNING: loadOnDemand[%d] is a %s, not a resource name prefix; it is "
                    "skipped\n",
                    i, list[i].TypeName());
        }
    }
    SetOnDemandPrefixes(prefixes);
}

std::string ResourceManager::OnDemandPrefixOf(const std::string& name) const
{
    for (const std::string& prefix : m_OnDemandPrefixes)
        if (name.compare(0, prefix.size(), prefix) == 0)
            return prefix;
    return std::string();
}

void ResourceManager::ReleaseOnDemandSiblings(const std::string& name, const std::string& prefix)
{
    for (auto& entry : m_Infos)
        if (entry.first != name && entry.second->GetResource() &&
            OnDemandPrefixOf(entry.first) == prefix)
            entry.second->SetResource(nullptr);
}

int ResourceManager::StartCaching(bool wholePack)
{
    m_CacheNames.clear();
    for (const auto& entry : m_Infos)
        if (FindLoader(*entry.second) && OnDemandPrefixOf(entry.first).empty())
            m_CacheNames.push_back(entry.first);
    std::sort(m_CacheNames.begin(), m_CacheNames.end());
    m_CachePosition = 0;
    m_Caching = true;
    m_CacheWhole = wholePack;
    return static_cast<int>(m_CacheNames.size());
}

bool ResourceManager::CacheNext()
{
    while (m_Caching && m_CachePosition < m_CacheNames.size()) {
        // Caching only saves time later: it leaves room in the budget for what the screens
        // and levels make, and the rest loads when it is used.
        const long long held = MemoryBudget::GetHeld();
        if (!m_CacheWhole && held >= MemoryBudget::GetLimit() / 4 * 3) {
            Log("Caching stopped after %zu of %zu resources: %lld MB of the budget of %lld MB "
                "for what the game holds decoded are held; the rest loads when it is used\n",
                m_CachePosition, m_CacheNames.size(), held / MemoryBudget::kMegabyte,
                MemoryBudget::GetLimit() / MemoryBudget::kMegabyte);
            break;
        }
        const std::string& name = m_CacheNames[m_CachePosition];
        // The entry may have been replaced or dropped since the pass began.
        ResourceInfo* info = FindInfo(name, true);
        if (!info || !FindLoader(*info)) {
            ++m_CachePosition;
            continue;
        }
        LogAtLevel(4, "Caching Resource: %s\n", name.c_str());
        ++m_CachePosition;
        try {
            if (!info->GetResource())
                LoadResource(name, info);
            info->IncrementAcquireCount();
            info->SetLastUse(++m_Uses);
        } catch (const ResourceLoadError&) {
            // Logged once by the load; the game goes on without it, and so does the pass.
        }
        return true;
    }
    m_Caching = false;
    m_CacheNames.clear();
    m_CachePosition = 0;
    return false;
}

long long ResourceManager::ReleaseUnused(long long needed)
{
    // What was used longest ago goes first (by name among those used alike).
    std::vector<std::pair<unsigned long long, const std::string*>> unused;
    for (const auto& entry : m_Infos)
        if (Resource* resource = entry.second->GetResource())
            if (resource->ReleasableBytes() > 0)
                unused.emplace_back(entry.second->GetLastUse(), &entry.first);
    std::sort(unused.begin(), unused.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : *a.second < *b.second;
    });
    long long released = 0;
    for (const auto& [use, name] : unused) {
        if (released >= needed)
            break;
        ResourceInfo* info = m_Infos.at(*name).get();
        released += info->GetResource()->ReleasableBytes();
        LogAtLevel(3, "Let go of %s to make room in the budget for what the game holds decoded\n",
                   name->c_str());
        info->SetResource(nullptr);
    }
    return released;
}

void ResourceManager::ShowMemUsage()
{
    Log("Sysmem Images: %d\n", static_cast<int>(SysmemImageBytes));
    Log("Vidmem Images: %d\n", static_cast<int>(VidmemImageBytes));
    Log("Sound: %d\n", static_cast<int>(SoundBytes));
    int64_t total = int64_t(SysmemImageBytes) + VidmemImageBytes + SoundBytes;
    Log("Total: %d\n", static_cast<int>(total));
}

void ResourceManager::LogResourceUsage() const
{
    std::string reports[RESOURCE_TYPE_COUNT];
    for (std::string& report : reports)
        report = "Resource Name\tAcquire Count\n";

    int counts[RESOURCE_TYPE_COUNT] = {};
    int total = 0;
    if (m_Contents.IsSet()) {
        for (LuaTableIterator it(m_Contents); it; it.Next()) {
            if (!it.GetKey().IsString() || !it.GetValue().IsLightUserData() ||
                !it.GetValue().GetLightUserData())
                continue;
            // Only entries this manager owns are read; a value a script planted is skipped.
            ResourceInfo* info = FindInfo(it.GetKey().GetString(), true);
            if (!info || info != it.GetValue().GetLightUserData())
                continue;
            int type = info->GetType();
            if (type < 0 || type >= RESOURCE_TYPE_COUNT)
                continue;
            reports[type] += boost::str(boost::format("%1%\t%2%\n") % it.GetKey().GetString() %
                                        info->GetAcquireCount());
            ++counts[type];
            ++total;
        }
    }

    for (int type = 0; type < RESOURCE_TYPE_COUNT; ++type) {
        // Written under the documents folder: the program's folder may be read-only. Each
        // report is written whole or not at all, and only as a file of the game's own: never
        // through a link, nor over a file the game did not make.
        std::string fileName = GetDocumentsFilePath(
            boost::str(boost::format("ResourceUsage-%1%.txt") % ResTypeToString(type)));
        const FileWriter::Result written =
            FileWriter::WriteOutput(fileName, reports[type], FileWriter::REPLACE_OWN);
        if (!written.Ok())
            Log("WARNING: Could not save the resource usage report \"%s\": %s\n", fileName.c_str(),
                written.reason.c_str());
        Log("LogResourceUsage: %d resources of type %s processed.\n", counts[type],
            ResTypeToString(type).c_str());
    }
    Log("LogResourceUsage: ------------------------------------------------------------\n");
    Log("LogResourceUsage: %d resources were processed, in total.\n", total);
}

MAKO_LUA_FUNCTION(ShowMemUsage)
{
    ResourceManager::ShowMemUsage();
    return 0;
}

MAKO_LUA_FUNCTION(LogResourceUsage)
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT_MSG(manager != 0, "There is no resource manager.");
    manager->LogResourceUsage();
    return 0;
}
