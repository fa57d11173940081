#pragma once
// The registry of every named resource of the game: images, sounds, music, scripts,
// configuration files and the Lua tables that describe objects.
//
// Scanners fill the registry with unloaded entries; the first Acquire of a name has the
// first loader that accepts the entry load it, and the resource then stays loaded until
// the manager is destroyed, unless it is loaded on demand (SetOnDemandPrefixes) or let go
// while nothing uses it to make room in the budget of what the game holds decoded
// (ReleaseUnused); either loads again when acquired again. A file
// that cannot be loaded is logged once and left out, or replaced by its loader's stand-in
// (LoadResource). Scripts see the
// registry as the global table `Resources`: `Resources._contents` maps each name to its entry
// (light userdata), reading `Resources.Name` gives a table resource's table (or a loaded resource's
// pointer), and assigning a table to `Resources.Name` registers it as a table resource.
//
// One manager serves the process at a time: while it lives it is the current manager
// (GetResourceManager) and the source of script resources for MakoLuaState::DoResourceFile.
// The application creates it during engine start-up and destroys it at shutdown. Main
// thread only.
#include "core/Exception.h"
#include "lua/ScriptSource.h"
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class Resource;
class ResourceInfo;
class ResourceLoader;
class ResourceScanner;

// A name that is registered, but for a resource of another kind than the one wanted (a
// script where a song is wanted). It is a ResourceNotFoundException, so every caller that
// leaves a missing name out leaves this one out too. Its message reads "no such song
// "Ball.lua" (the resource of that name is a script)".
class ResourceKindError : public ResourceNotFoundException
{
public:
    ResourceKindError(const std::string& file, int line, const std::string& function,
                      const std::string& date, const std::string& time, const std::string& message,
                      const std::string& resourceName)
        : ResourceNotFoundException(file, line, function, date, time, message, resourceName)
    {
    }
};

class ResourceManager
{
public:
    // Defines the script function `Metadata`, creates the global table `Resources` with
    // its `_contents` and metatable in state, resets the memory totals, becomes the
    // current manager and the script source. state must outlive the manager's use of
    // scripts; destroying the state first is safe.
    explicit ResourceManager(LuaPlus::LuaState* state);
    // Destroys every entry (with its resource and reader), the loaders and the scanners;
    // empties `Resources._contents` and takes the metatable off `Resources`, so scripts
    // that still hold the table see no entries; gives the current-manager and script
    // source roles, and the global `Resources`, back to whoever had them before. Managers
    // may go in any order: one destroyed while a later one is current hands what it had
    // been given to that later one instead, so the current manager keeps its roles.
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    LuaPlus::LuaState* GetLuaState() const { return m_State; }

    // Appends a scanner (owned), logging "Adding resource scanner: <description>".
    void AddScanner(ResourceScanner* scanner);
    // How many scanners were added, and the removal of those added after the first count
    // (the next ScanAll runs only the others; what they registered stays until it is
    // registered again). For a host that lends the manager to others for a while and takes
    // back what it found (the tests' shared manager).
    std::size_t GetScannerCount() const { return m_Scanners.size(); }
    void RemoveScannersAfter(std::size_t count);
    // Appends a loader (owned), logging "Adding resource loader: <description>".
    void AddLoader(ResourceLoader* loader);

    // Runs every scanner in the order added and registers what each found; an entry of a
    // later scanner replaces an earlier entry of the same name. Each entry is marked as one
    // of the program's own files or not by its scanner (ResourceScanner::HoldsProgramFiles),
    // so a file of the pack that replaces a script is never run as the program's.
    void ScanAll();

    // Registers info (owned) under name. An entry already registered under that name is
    // replaced with the log line "WARNING: Resource being replaced: name = <name>"; when it
    // was loaded, it is kept (unreachable by name) until the manager is destroyed, since
    // objects may still use its resource.
    void AddInfo(const std::string& name, ResourceInfo* info);
    // How many loaded entries AddInfo has replaced and keeps, and the destruction of those
    // replaced after the first `count`. For a host that registers entries of the same names
    // again and again and knows that nothing made from the entries replaced since it counted
    // holds them any more (the images made from them keep their own references, as they do
    // when an entry loaded on demand lets go); without it each round keeps its entries.
    std::size_t GetReplacedCount() const { return m_Replaced.size(); }
    void ReleaseReplacedAfter(std::size_t count);

    // Takes the entry of that name out of the registry (and out of `Resources._contents`)
    // and hands it to the caller: from here on the name is missing, exactly as though no
    // scanner had found its file, until it is registered again (AddInfo, a scan). Null when
    // no entry has the name. For a host that lends the manager and plays it without one
    // file of the pack (the tests' shared manager).
    std::unique_ptr<ResourceInfo> TakeInfo(const std::string& name);

    // The entry of that name. A missing name answers null when nullIfMissing is set, else
    // throws ResourceNotFoundException "Could not find resource info with name = <name>".
    ResourceInfo* FindInfo(const std::string& name, bool nullIfMissing = false) const;

    // The first loader (in the order added) that accepts the entry; null when none does.
    ResourceLoader* FindLoader(const ResourceInfo& info) const;

    // The one way a pack file becomes a resource: loads the entry registered under name
    // with its loader and returns the resource; with no loader for it, returns its current
    // resource (null when unloaded) and raises nothing. The load closes the entry's reader:
    // loaded resources never point into the file's bytes.
    //
    // A file that cannot be loaded (garbage, truncated, a decoder's refusal) is damaged: the
    // first failure is logged once by name with the loader's message ("Warning: the
    // resource "<name>" could not be loaded (<cause>); the game plays without it"), recorded,
    // and never tried again while the entry lives. When the loader can stand something in
    // (ResourceLoader::LoadStandIn: an empty picture of the same frames) the entry gets it
    // and the call succeeds; otherwise it throws ResourceLoadError with the loader's
    // message, as every later call for that name does, so callers leave it out as they do a
    // missing one.
    Resource* LoadResource(const std::string& name, ResourceInfo* resInfo);

    // The resource of that name, loaded on first use (LoadResource); counts one acquisition.
    // The entry is stored in outInfo when given. A missing name throws
    // ResourceNotFoundException; a damaged one without a stand-in throws ResourceLoadError and
    // leaves its count unchanged.
    Resource* Acquire(const std::string& name, ResourceInfo** outInfo = nullptr);

    // The lookup of a name given by data: Acquire, among the resources of one kind (a
    // ResourceType) only. An entry of another kind, or one no loader makes, raises
    // ResourceKindError ("no such song ...") before anything is loaded; one whose loader may
    // make several kinds is checked once loaded. Every name from a level, a pack file or a
    // card that must be a picture, a sound or a song reaches its resource through this.
    Resource* AcquireOfKind(const std::string& name, int kind, ResourceInfo** outInfo = nullptr);
    // Whether a resource of that name and kind is registered (the kind as AcquireOfKind
    // judges it without loading: an entry whose loader may make several kinds counts; so
    // does a song while the music is off, though it is not loaded then).
    bool HasOfKind(const std::string& name, int kind) const;
    // Why a name given where a resource of kind is wanted cannot be used: "" when it can
    // (HasOfKind), "\"X\" is not among the resources" when no entry has the name, else
    // "no such song \"X\" (the resource of that name is a script)".
    std::string WhyNotOfKind(const std::string& name, int kind) const;
    // The kind an entry is, or will be once loaded: its loaded type, else the kind a loader
    // makes of its name (ResourceLoader::KindOfEntry); RESOURCE_UNKNOWN when nothing makes
    // it (or its loader makes several kinds).
    int KindOf(const ResourceInfo& info) const;

    // Incremental loading of every loadable entry: StartCaching takes the names of the
    // entries some loader accepts (the registry as it is now; later changes to it do not
    // disturb the pass) and returns how many there are; each CacheNext then deals with one
    // of them (loads it when needed and counts an acquisition) and returns true, until none
    // are left, when it ends the pass and returns false. A damaged entry is logged once by
    // LoadResource and passed by: the pass goes on. CacheNext without a pass is false.
    // Caching saves time later, never room: a pass ends early, logged, once what the game
    // holds decoded reaches three quarters of the budget (MemoryBudget), and the rest loads
    // when it is used; unless wholePack, for a check that must load every file once.
    int StartCaching(bool wholePack = false);
    bool CacheNext();

    // Lets go of loaded entries whose resource gives bytes back to the budget of what the
    // game holds decoded (Resource::ReleasableBytes: nothing uses it), those used longest ago
    // first, until `needed` bytes are given back or none is left; returns the bytes. An entry
    // let go loads again when acquired again. Called by the budget when a decode or copy
    // would pass it, so a Resource pointer of a cached entry that no image or sound holds is
    // good only until the next load or copy, as one of an entry loaded on demand is.
    long long ReleaseUnused(long long needed);

    // The record of what the game goes on without, kept for this manager's life (a new
    // manager starts with none). Damaged entries are recorded by LoadResource with the
    // loader's message; a caller that found a name missing, or a file no loader checks (a
    // font) unusable, records it here so that it is logged once and not tried again.
    // RecordDamaged: true (and the warning logged) only the first time for that name.
    bool RecordDamaged(const std::string& name, const std::string& cause);
    bool RecordMissing(const std::string& name);
    bool IsDamaged(const std::string& name) const { return m_Damaged.count(name) != 0; }
    // Damaged or recorded missing: callers skip it without trying again.
    bool IsLeftOut(const std::string& name) const
    {
        return IsDamaged(name) || m_Missing.count(name) != 0;
    }
    // The damaged entries by name, with the loader's message.
    const std::map<std::string, std::string>& GetDamaged() const { return m_Damaged; }
    // The registered names that end with suffix, in name order.
    std::vector<std::string> FindNamesEndingWith(const std::string& suffix) const;

    // Resources loaded on demand: entries whose name begins with one of these prefixes
    // (replacing the prefixes set before). Caching passes them by, and the manager holds at
    // most one loaded entry per prefix: loading one lets go of the others of its prefix.
    // What let go stays alive in the images made from it for as long as they live (they
    // hold references, not the manager's resource), and loads again when acquired again.
    // Callers must therefore never keep the Resource pointer of such an entry beyond the
    // next Acquire; the images of actors never do. Each load on demand is logged with the
    // time it took.
    void SetOnDemandPrefixes(const std::vector<std::string>& prefixes);
    // The same from a list of the configuration ("loadOnDemand"): its strings are the
    // prefixes; a value that is not a string is logged and skipped; no list, no prefixes.
    void SetOnDemandPrefixesFromList(const LuaPlus::LuaObject& list);
    // The prefix that makes name load on demand; empty when it is not loaded on demand.
    std::string OnDemandPrefixOf(const std::string& name) const;

    // Writes "ResourceUsage-<type name>.txt" for each resource type in the documents
    // folder: a header line, then one "<name>\t<acquire count>" line per entry of that
    // type; logs the counts. Each report is written whole or not at all; one that cannot be
    // written is named in a warning with the cause, and the others are still written.
    void LogResourceUsage() const;

    // Logs the memory totals (system-memory images, video-memory images, sounds, total).
    static void ShowMemUsage();

    // The table `Resources._contents`.
    const LuaPlus::LuaObject& GetContents() const MAKO_LIFETIMEBOUND { return m_Contents; }

private:
    void CreateLuaTables();
    void ReleaseLuaTables();
    std::string ReadScript(const std::string& name);
    // Lets go of the loaded entries that share name's on-demand prefix, but name's own.
    void ReleaseOnDemandSiblings(const std::string& name, const std::string& prefix);
    // Runs the loader on the entry; the loader's message when it fails, else "".
    std::string TryLoad(ResourceLoader& loader, ResourceInfo& info);

    LuaPlus::LuaState* m_State;
    LuaPlus::LuaObject m_Resources;
    LuaPlus::LuaObject m_Contents;
    // The entries by name; `_contents` mirrors it for scripts.
    std::unordered_map<std::string, std::unique_ptr<ResourceInfo>> m_Infos;
    // Loaded entries replaced by AddInfo, kept alive for their users until shutdown.
    std::vector<std::unique_ptr<ResourceInfo>> m_Replaced;
    std::vector<std::unique_ptr<ResourceScanner>> m_Scanners;
    std::vector<std::unique_ptr<ResourceLoader>> m_Loaders;
    // The pass of StartCaching/CacheNext: the names still to deal with.
    std::vector<std::string> m_CacheNames;
    size_t m_CachePosition = 0;
    bool m_Caching = false;
    bool m_CacheWhole = false;
    // Acquisitions counted so far: each entry's last use is the count at its latest.
    unsigned long long m_Uses = 0;
    std::vector<std::string> m_OnDemandPrefixes;
    // Names of damaged files with the cause, and names callers found missing.
    std::map<std::string, std::string> m_Damaged;
    std::set<std::string> m_Missing;

    // Called on the manager made right after this one, while this one goes first: takes
    // over what this one would have given back.
    void InheritRolesOf(ResourceManager& earlier);

    ResourceManager* m_PreviousManager;
    // The next manager made while this one lived (the one holding it as previous), if any.
    ResourceManager* m_NextManager = nullptr;
    ScriptSource::Provider m_PreviousScriptSource;
    ScriptSource::OwnCheck m_PreviousOwnCheck;
    // The global `Resources` before this manager made its own, given back with the roles.
    LuaPlus::LuaObject m_PreviousResources;
};

// The current resource manager (the application's); null when none exists.
ResourceManager* GetResourceManager();
// Whether the current resource manager knows a resource of that name; false without one.
bool IsKnownResource(const std::string& name);
// Whether the current resource manager knows a resource of that name and kind
// (ResourceManager::HasOfKind); false without one.
bool IsKnownResourceOfKind(const std::string& name, int kind);
