// A small pack played: the input holds a level file and additions to the metadata files of
// the pack's picture folders, in sections. The folders are read again with their metadata,
// the level file runs as the game runs its level files, and the first level it made is
// built, served and played through the game's own event handling (CardStage). A crash, a
// sanitizer report, a failed check of the program's own (MAKO_ASSERT, counted where it
// fails, so a level's text that says "Assertion failed" is no finding), an error other than
// the game's refusal of a file (the engine's Exception: a metadata file or a level file
// named and left out), or a level that was built and still plays (or waits for its serve)
// after all the passes without ever having had a ball in play is a finding. A file or level
// left out past its meter of work is the game's designed answer, not a finding.
//
// Each input's work is undone before the next (the levels it set, the pack's metadata and
// the entries loaded from it; the level text reaches no other global), so what stays after
// an input is what the game keeps: the script heap (after a full collection) and the live
// actors are measured before and after every input, and their growth summed over the inputs
// past a small slack is a finding too (a leak that would end a long session, or the fuzzer,
// out of memory).
//
// The input is text in sections, each starting with a line "--- <name>": "--- level" holds
// the level file; "--- Images/<folder>" holds Lua text appended to that folder's metadata
// file (a later Metadata { } call replaces the entries it names). Text before the first
// section line is the level file.
#include "CardStage.h"
#include "FuzzEntries.h"
#include "FuzzHost.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptSource.h"
#include "resources/ResourceManager.h"
#include "scene/Actor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

const char kLevelResource[] = "FuzzPlay.lua";
// Passes a level is played: enough for the level to drop in, a serve and some play.
const int kPlayPasses = 300;
// Growth summed over the inputs that is still no finding: the caches that fill once, the
// first time a kind of level, actor or build plays (measured over the seeds and 10,000
// generated inputs: 270 KiB of the script heap in all, most of it the registry's table grown
// by the refs of a build cut by its meter; no actor).
const long long kScriptHeapSlack = 1 << 20;
const int kActorSlack = 8;

// The input's sections by name.
std::map<std::string, std::string> Sections(const std::string& text)
{
    std::map<std::string, std::string> sections;
    std::string current = "level";
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        if (line.compare(0, 4, "--- ") == 0)
            current = line.substr(4);
        else
            sections[current] += line + "\n";
        at = end + 1;
    }
    return sections;
}

// The pack's picture folders that have a metadata file ("Images/Balls", ...), each copied
// once per process below the scratch folder, where the inputs' metadata is written. Their
// entries are registered afresh once, so those the stage's start loaded (for screens that
// stay) are kept by the resource manager, and every later entry of theirs is loaded by
// plays alone.
const std::vector<std::string>& PictureFolders()
{
    static std::vector<std::string> folders;
    static bool made = false;
    if (made)
        return folders;
    made = true;
    const std::string pack = CardStage::Pack();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(pack + "/Images", error))
        if (fs::exists(entry.path() / "metadata.cfg"))
            folders.push_back("Images/" + entry.path().filename().string());
    std::sort(folders.begin(), folders.end());
    for (const std::string& folder : folders) {
        const std::string copy = ScratchFolder() + "play/" + folder + "/";
        fs::create_directories(copy);
        for (const auto& file : fs::directory_iterator(pack + "/" + folder))
            if (file.is_regular_file())
                fs::copy_file(file.path(), copy + file.path().filename().string(),
                              fs::copy_options::overwrite_existing);
        CardStage::Get()->ScanFolder(pack + "/" + folder + "/");
    }
    return folders;
}

// Runs the level text as the game runs a level file; the names of the levels it assigned or
// changed, in order, and what Levels held under them before.
std::vector<std::string> RunLevelText(const std::string& text,
                                      std::map<std::string, LuaPlus::LuaObject>& before)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaPlus::LuaObject levels = state->GetGlobal("Levels");
    if (levels.IsTable())
        for (LuaPlus::LuaTableIterator it(levels); it; it.Next())
            if (it.GetKey().IsString())
                before[it.GetKey().GetString()] = it.GetValue();
    ScriptSource::Provider previous = ScriptSource::SetProvider(
        [&](const std::string& name) { return name == kLevelResource ? text : previous(name); });
    {
        ScriptLimits limits(state->GetCState(), 2000000, 64u << 20);
        LevelManager::RunLevelFile(state, kLevelResource);
    }
    ScriptSource::SetProvider(previous);
    std::vector<std::string> made;
    levels = state->GetGlobal("Levels");
    if (levels.IsTable())
        for (LuaPlus::LuaTableIterator it(levels); it; it.Next()) {
            if (!it.GetKey().IsString())
                continue;
            const auto was = before.find(it.GetKey().GetString());
            if (was == before.end() || !(was->second == it.GetValue()))
                made.push_back(it.GetKey().GetString());
        }
    std::sort(made.begin(), made.end());
    return made;
}

// Levels as it was before the input ran (the table itself kept, with its metatable).
void RestoreLevels(const std::map<std::string, LuaPlus::LuaObject>& before)
{
    LuaPlus::LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    if (!levels.IsTable())
        return;
    std::vector<LuaPlus::LuaObject> added;
    for (LuaPlus::LuaTableIterator it(levels); it; it.Next())
        if (!it.GetKey().IsString() || before.count(it.GetKey().GetString()) == 0)
            added.push_back(it.GetKey());
    for (const LuaPlus::LuaObject& key : added)
        levels.SetNil(LuaPlus::LuaKey(key));
    for (const auto& [name, level] : before)
        levels.RawSetObject(LuaPlus::LuaKey(name), level);
}

// What the log said while the input played.
class PlayLog
{
public:
    PlayLog() : m_Path(ScratchFolder() + "play.log")
    {
        const uint8_t nothing = 0;
        WriteScratchFile(m_Path, &nothing, 0);
        SetLogFilePath(m_Path);
    }
    ~PlayLog() { SetLogFilePath("/dev/null"); }
    std::string Text() const { return ReadScratchFile(m_Path); }

private:
    std::string m_Path;
};

// The first line of the log that holds the text of a failed check ("Assertion failed: ("),
// to name a finding by; the whole log's head when none does.
std::string AssertionLine(const std::string& log)
{
    const std::size_t at = log.find("Assertion failed: (");
    if (at == std::string::npos)
        return log.substr(0, 400);
    const std::size_t from = log.rfind('\n', at);
    const std::size_t start = from == std::string::npos ? 0 : from + 1;
    return log.substr(start, std::min<std::size_t>(400, log.find('\n', at) - start));
}

// What the game holds between inputs: the script heap's bytes after a full collection and
// the actors alive.
struct Footprint
{
    long long scriptBytes = 0;
    int actors = 0;
};

Footprint MeasureFootprint()
{
    lua_State* L = GetGlobalLuaState()->GetCState();
    lua_gc(L, LUA_GCCOLLECT, 0);
    return {lua_gc(L, LUA_GCCOUNT, 0) * 1024LL + lua_gc(L, LUA_GCCOUNTB, 0), Actor::GetLiveCount()};
}

// Sums what each input kept (its footprint after, less before: the growth of other entries
// run in the same process between play inputs is not counted) and fails the input that
// takes the sum past its slack.
void CheckGrowth(const Footprint& before, const Footprint& after)
{
    static int inputs = 0;
    static long long scriptGrowth = 0;
    static long long actorGrowth = 0;
    ++inputs;
    scriptGrowth += after.scriptBytes - before.scriptBytes;
    actorGrowth += after.actors - before.actors;
    const std::string over = " over the " + std::to_string(inputs) + " play inputs so far";
    if (actorGrowth > kActorSlack)
        Fail("the live actors grew by " + std::to_string(actorGrowth) + over +
             " (this input: " + std::to_string(after.actors - before.actors) + ", " +
             std::to_string(after.actors) + " alive); the slack is " + std::to_string(kActorSlack));
    if (scriptGrowth > kScriptHeapSlack)
        Fail("the script heap grew by " + std::to_string(scriptGrowth / 1024) + " KiB" + over +
             " (this input: " + std::to_string((after.scriptBytes - before.scriptBytes) / 1024) +
             " KiB, " + std::to_string(after.scriptBytes / 1024) + " KiB held); the slack is " +
             std::to_string(kScriptHeapSlack / 1024) + " KiB");
}

} // namespace

void RunPlay(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    CardStage* stage = CardStage::Get();
    if (!stage)
        return;
    const std::map<std::string, std::string> sections =
        Sections(std::string(reinterpret_cast<const char*>(data), size));
    const std::string pack = CardStage::Pack();
    const std::vector<std::string>& folders = PictureFolders();
    ResourceManager* resources = GetResourceManager();
    const Footprint start = MeasureFootprint();
    const std::size_t replaced = resources->GetReplacedCount();
    std::vector<std::string> changed;
    PlayLog log;
    const long long assertions = MakoFailedAssertions();
    std::map<std::string, LuaPlus::LuaObject> before;
    std::vector<std::string> made;
    try {
        for (const std::string& folder : folders) {
            const auto section = sections.find(folder);
            if (section == sections.end())
                continue;
            const std::string copy = ScratchFolder() + "play/" + folder + "/";
            const std::string text =
                ReadScratchFile(pack + "/" + folder + "/metadata.cfg") + "\n" + section->second;
            WriteScratchFile(copy + "metadata.cfg", reinterpret_cast<const uint8_t*>(text.data()),
                             text.size());
            changed.push_back(folder);
            stage->ScanFolder(copy);
        }
        const auto level = sections.find("level");
        made = RunLevelText(level == sections.end() ? std::string() : level->second, before);
    } catch (const Exception& e) {
        // A metadata file or level file the game refuses, named: a normal outcome.
        made.clear();
        if (std::getenv("BB_FUZZ_VERBOSE"))
            std::fprintf(stderr, "play: refused: %s\n", e.what());
    } catch (const std::exception& e) {
        // Not the engine's sentence for data it refuses: the program's own error.
        Fail(std::string("reading the pack and the level file raised: ") + e.what());
    }
    if (!made.empty()) {
        // What the game raises while it plays reaches its main loop: the game would end.
        CardStage::LevelPlay play;
        try {
            play = stage->PlayLevel(made.front(), kPlayPasses);
        } catch (const std::exception& e) {
            Fail("playing the level \"" + made.front() + "\" raised: " + e.what());
        }
        if (std::getenv("BB_FUZZ_VERBOSE"))
            std::fprintf(stderr, "play: level %s %s, %s, state %s\n", made.front().c_str(),
                         play.started ? "built" : "not built",
                         play.served ? "served" : "never served", play.state.c_str());
        if (play.started && !play.served && play.stuck)
            Fail("the level \"" + made.front() +
                 "\" was built and stays in play, and no ball "
                 "was ever served");
    }
    RestoreLevels(before);
    // The pack's own metadata back for the next input. The entries this input loaded and
    // replaced are the game's no more: its field is gone with every actor made from them.
    for (const std::string& folder : changed)
        stage->ScanFolder(pack + "/" + folder + "/");
    resources->ReleaseReplacedAfter(replaced);
    const std::string said = log.Text();
    if (std::getenv("BB_FUZZ_VERBOSE"))
        std::fprintf(stderr, "%s", said.c_str());
    if (MakoFailedAssertions() != assertions)
        Fail("a check of the program failed: " + AssertionLine(said));
    const Footprint end = MeasureFootprint();
    CheckGrowth(start, end);
}

} // namespace fuzz
