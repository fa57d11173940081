#include "LevelCheck.h"

#include "FontSizes.h"
#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/ClosestName.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "core/Random.h"
#include "core/StopSignal.h"
#include "core/TableOrder.h"
#include "core/WorkMeter.h"
#include "display/Font.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/LevelKeyCheck.h"
#include "logic/LevelManager.h"
#include "logic/LevelPlace.h"
#include "lua/MakoLuaState.h"
#include "resources/MemoryBudget.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "screens/Screen.h"
#include "sound/Sound.h"

#include "CheckHost.h"
#include "SongCheck.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <sstream>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace levelcheck {

namespace {

// Counts the budget's peak afresh for the next level or the pack's pass. What earlier work left
// loaded and nothing uses is let go first when it fills half the budget; otherwise it stays, as
// the game keeps what it cached, and a level's most counts it too.
void StartBudgetCount()
{
    // A sound a level played plays on (the check's audio never drains): stopped, nothing
    // uses it.
    BASS_Stop();
    BASS_Start();
    ResourceManager* resources = GetResourceManager();
    if (resources && MemoryBudget::GetHeld() >= MemoryBudget::GetLimit() / 2)
        resources->ReleaseUnused(LLONG_MAX);
    MemoryBudget::ResetPeak();
}

std::string BudgetLine(const std::string& what, long long bytes)
{
    char line[400];
    std::snprintf(line, sizeof line, "%s %.1f MB decoded, of the budget of %lld MB", what.c_str(),
                  static_cast<double>(bytes) / MemoryBudget::kMegabyte,
                  MemoryBudget::GetLimit() / MemoryBudget::kMegabyte);
    return line;
}

// The play field on the 640 x 480 screen: its top and its width inside the side walls.
const int kFieldY = 36;
const int kFieldWidth = 608;
// Where the paddle stands when a level names no paddle start of its own (screen y).
const int kDefaultPaddleLine = 416;
// How long a level may take from its loading to the waiting serve (passes of 32 ms).
const int kPassesToServe = 900;

LuaObject Globals()
{
    return GetGlobalLuaState()->GetGlobals();
}

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

// The names of the table resources (what a brick or an actor can be made from).
std::vector<std::string> ResourceNames()
{
    std::vector<std::string> names;
    ResourceManager* resources = GetResourceManager();
    if (!resources || !resources->GetContents().IsTable())
        return names;
    for (LuaTableIterator it(resources->GetContents()); it; it.Next()) {
        if (!it.GetKey().IsString())
            continue;
        const ResourceInfo* info = resources->FindInfo(it.GetKey().GetString(), true);
        if (info && info->GetType() == RESOURCE_TABLE)
            names.push_back(it.GetKey().GetString());
    }
    return names;
}

std::vector<std::string> ClassNames()
{
    std::vector<std::string> names;
    for (const Class* c : ClassManager::GetInstance()->GetAllClasses())
        names.push_back(c->GetName());
    return names;
}

// The play layer of the check's game screen: the controller ticks the field itself.
class FieldLayer : public Actor
{
public:
    void Tick() override {}
};

} // namespace

// Where a brick stands in the field, with its cell in the brick text.
struct BrickBox
{
    int column, row;
    int x, y, w, h;
    bool Overlaps(const BrickBox& o) const
    {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

std::string Problem::ToString() const
{
    std::ostringstream out;
    out << file << ": ";
    if (!level.empty())
        out << level << ": ";
    if (row > 0)
        out << "row " << row << ", column " << column << ": ";
    if (warning)
        out << "warning: ";
    out << text;
    return OneLineText(out.str());
}

const std::vector<std::string>& LevelMusicParts()
{
    static const std::vector<std::string> parts = {
        "GetReady", "Letter", "Play1", "Play2",  "Play3",     "Play4",         "Play5",   "Play6",
        "Play7",    "Play8",  "Play9", "Play10", "BeatLevel", "LevelComplete", "GameOver"};
    return parts;
}

std::vector<LevelSource> ReadPackLevels()
{
    std::vector<LevelSource> sources;
    for (const std::string& file : LevelManager::GetLevelFileNames()) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".lua") != 0)
            continue;
        LevelSource source(file, "");
        LevelManager::ReadLevelFile(file, source.text, source.error);
        sources.push_back(std::move(source));
    }
    std::sort(sources.begin(), sources.end(),
              [](const LevelSource& a, const LevelSource& b) { return a.file < b.file; });
    return sources;
}

// ---- Running the files -----------------------------------------------------------------

LevelCheck::LevelCheck()
{
    m_Previous = DataReport::SetListener([this](const DataIssue& issue) { Hear(issue); });
}

LevelCheck::~LevelCheck()
{
    DataReport::SetListener(std::move(m_Previous));
}

void LevelCheck::Hear(const DataIssue& issue)
{
    if (m_Previous)
        m_Previous(issue);
    // A damaged file is said once: with a level that names it (ReportDamaged), else as the
    // game says it, once the levels are checked.
    if (!issue.resource.empty()) {
        m_HeardDamaged.emplace(issue.resource, issue.ToString());
        return;
    }
    // What concerns the pack's own files, or is said before any level file, is the pack's.
    const std::string file = m_File;
    if (issue.ofPack || m_File.empty())
        m_File = "pack";
    const LevelPlace* at = issue.ofPack ? nullptr : LevelPlace::Of(issue);
    if (at) {
        // The line names the entry or the cell of the level the problem is at; at the level's
        // own place, where neither names it, the object it belongs to (a power-up of a brick,
        // of the level's lists) as the game's log does.
        std::string text;
        if (!at->GetWhere().empty())
            text = at->GetWhere() + ": ";
        else if (at->GetRow() == 0 && !issue.subject.empty())
            text = issue.subject + ": ";
        Report(at->GetLevel(), text + issue.text, at->GetRow(), at->GetColumn(), issue.warning);
    } else
        Report("", issue.ToString(), 0, 0, issue.warning);
    m_File = file;
}

bool LevelCheck::Run(const std::vector<LevelSource>& sources, const FrameSink& frames)
{
    m_LevelFiles.clear();
    // The controller finds levels through the level manager, as in the game.
    std::unique_ptr<LevelManager> manager;
    if (!LevelManager::Exists())
        manager = std::make_unique<LevelManager>();
    LoadSources(sources);
    // A file's levels one after the other: each built as the game builds it, in a session
    // and under a meter of its own, so the check passes what the game plays and names what
    // it refuses; then the check's own look at the tables of those the game did not leave
    // out for their work, in one session (a table its levels share is checked once, and
    // what is said about the file is capped).
    std::map<std::string, std::vector<std::string>> levelsOfFile;
    for (const auto& [name, file] : m_LevelFiles)
        levelsOfFile[file].push_back(name);
    for (const auto& [file, names] : levelsOfFile) {
        m_File = file;
        std::vector<std::string> built;
        for (const std::string& name : names) {
            if (StopSignal::IsRequested() || !HoldsTheLimit(name))
                continue;
            StartBudgetCount();
            const bool kept = BuildLevel(name, frames);
            m_BudgetLines.push_back(BudgetLine(
                "level \"" + ShortenedText(name) + "\" holds at most", MemoryBudget::GetPeak()));
            if (kept)
                built.push_back(name);
        }
        LevelKeyCheck::Session session;
        for (const std::string& name : built)
            if (!StopSignal::IsRequested())
                CheckTable(name);
    }
    ReportUnlisted();
    if (StopSignal::IsRequested()) {
        m_File = "levelcheck";
        Report("", std::string("stopped by ") + StopSignal::GetName() +
                       "; the levels after this point were not checked");
        return false;
    }
    CheckPackFiles();
    m_File = "pack";
    for (const auto& [resource, line] : m_HeardDamaged)
        if (!m_ReportedDamaged.count(resource))
            Report("", line, 0, 0, true);
    m_HeardDamaged.clear();
    CheckOrder();
    ReportUnlisted();
    m_File.clear();
    return CountErrors() == 0;
}

void LevelCheck::ReportUnlisted()
{
    for (const auto& [file, count] : m_Unlisted)
        m_Problems.push_back(
            {file, "", 0, 0, std::to_string(count) + " more problem(s) not listed", false});
    m_Unlisted.clear();
}

int LevelCheck::CountErrors() const
{
    return int(std::count_if(m_Problems.begin(), m_Problems.end(),
                             [](const Problem& p) { return !p.warning; }));
}

void LevelCheck::Report(const std::string& level, const std::string& text, int row, int column,
                        bool warning)
{
    // A slip met again (each build of the level reads it anew) is reported once. Its line is
    // one line (Problem::ToString folds it).
    Problem problem{m_File, ShortenedText(level, kLongestName), row,
                    column, ShortenedText(text, kLongestText),  warning};
    const std::string line = problem.ToString();
    if (!m_Reported.insert(line).second)
        return;
    // However a file is made, a few hundred lines say what is wrong with it, and however
    // many files there are, the report holds a few MiB.
    if (++m_LinesOfFile[m_File] > kLinesPerFile || m_ReportBytes + line.size() > kReportBytes) {
        ++m_Unlisted[m_File];
        return;
    }
    m_ReportBytes += line.size() + 1;
    m_Problems.push_back(std::move(problem));
}

void LevelCheck::LoadSources(const std::vector<LevelSource>& sources)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), "ClearLevels()");
    for (const LevelSource& source : sources)
        if (!StopSignal::IsRequested())
            RunSource(source);
}

void LevelCheck::RunSource(const LevelSource& source)
{
    m_File = source.file;
    if (!source.error.empty()) {
        Report("", "the file could not be read: " + source.error);
        return;
    }
    DataReport::Cap cap;
    std::set<std::string> before;
    for (LuaTableIterator it(Globals()["Levels"]); it; it.Next())
        if (it.GetKey().IsString())
            before.insert(it.GetKey().GetString());

    // The game runs a level file through this one runner: one that never ends, or reaches
    // for what a level file may not have, is named here.
    std::string error;
    try {
        LevelManager::RunLevelText(GetGlobalLuaState(), source.text, "@" + source.file, error);
    } catch (const Exception& e) {
        error = e.GetMessage();
    }

    for (LuaTableIterator it(Globals()["Levels"]); it; it.Next()) {
        // A level is found by its name: one under a key of another type is never played.
        if (it.GetKey().Type() != LUA_TSTRING) {
            Report("", "Levels[" + DataKeyText(it.GetKey()) +
                           "]: a level is named by a string; the entry is not checked");
            continue;
        }
        const std::string name = it.GetKey().GetString();
        if (before.count(name))
            continue;
        m_LevelFiles[name] = source.file;
    }
    // A level this file dropped, its own or an earlier file's, is no longer there to check.
    const LuaObject levels = Globals()["Levels"];
    for (auto it = m_LevelFiles.begin(); it != m_LevelFiles.end();)
        it = levels[it->first.c_str()].IsNil() ? m_LevelFiles.erase(it) : std::next(it);
    if (error.empty())
        return;

    ReportRunError(error);
}

namespace {

// Reads a whole number at `at` of text into value and moves past it; false when there is
// none there.
bool ReadNumber(const std::string& text, std::size_t& at, int& value)
{
    const std::size_t start = at;
    long long number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && at - start < 9)
        number = number * 10 + (text[at++] - '0');
    value = int(number);
    return at > start;
}

// Moves past `word` at `at` of text; false (at unchanged) when the text does not go on so.
bool Skip(const std::string& text, std::size_t& at, const char* word)
{
    const std::size_t length = std::strlen(word);
    if (text.compare(at, length, word) != 0)
        return false;
    at += length;
    return true;
}

} // namespace

// The brick compiler's errors name the level, the row and the cell column:
//   Level "<name>", row <r>, column <c> (character <n>): <what>
//   Level "<name>", row <r>: <what>
//   Level "<name>": <what>
// and Lua's name the chunk and the line ("<chunk>:<line>: <what>"), each on one line (an
// error of several lines is given whole, its line ends folded). Read left to right in one
// pass, so an error text of any length costs its length.
void LevelCheck::ReportRunError(const std::string& error)
{
    std::size_t at = 0;
    if (Skip(error, at, "Level \"")) {
        const std::size_t close = error.find('"', at);
        if (close != std::string::npos && error.find('\n', close) == std::string::npos) {
            const std::string level = error.substr(at, close - at);
            at = close + 1;
            int row = 0, column = 0, character = 0;
            std::size_t next = at;
            if (Skip(error, next, ", row ") && ReadNumber(error, next, row)) {
                std::size_t cell = next;
                if (Skip(error, cell, ", column ") && ReadNumber(error, cell, column) &&
                    Skip(error, cell, " (character ") && ReadNumber(error, cell, character) &&
                    Skip(error, cell, "): ")) {
                    Report(level, "brick text: " + error.substr(cell), row, column);
                    return;
                }
                if (Skip(error, next, ": ")) {
                    Report(level,
                           "brick text, row " + std::to_string(row) + ": " + error.substr(next));
                    return;
                }
            }
            if (Skip(error, at, ": ")) {
                Report(level, "brick text: " + error.substr(at));
                return;
            }
        }
    }
    // "<chunk>:<line>: <what>" where the chunk is the file itself: a line of another chunk
    // (the brick compiler's, a script's) is no line of the file, and is given as Lua says it.
    std::size_t next = 0;
    int line = 0;
    if (Skip(error, next, (m_File + ":").c_str()) && ReadNumber(error, next, line) &&
        Skip(error, next, ": ") && error.find('\n', next) == std::string::npos) {
        Report("", "line " + std::to_string(line) + ": Lua error: " + error.substr(next));
        return;
    }
    Report("", "Lua error: " + error);
}

// ---- One level -------------------------------------------------------------------------

bool LevelCheck::HoldsTheLimit(const std::string& name)
{
    // A level the game refuses is not built: making its objects could take minutes.
    const int objects = Level::CountFieldObjects(Globals()["Levels"][name.c_str()]);
    if (objects <= Level::MAX_FIELD_OBJECTS)
        return true;
    Report(name, std::to_string(objects) + " bricks and objects: more than the " +
                     std::to_string(Level::MAX_FIELD_OBJECTS) +
                     " a level may hold (compiledBricks, levelActors and extraActors "
                     "together); the game refuses the level");
    return false;
}

void LevelCheck::CheckTable(const std::string& name)
{
    // The check's own look at the table is bounded like any walk over a file's values, by a
    // meter of its own: the game's build, before it, was measured by the game's meter alone.
    WorkMeter meter("the check of level \"" + name + "\"");
    try {
        LevelKeyCheck::Run(name, Globals()["Levels"][name.c_str()]);
        CheckResources(name);
        CheckBricks(name);
        CheckActors(name, "levelActors");
        CheckActors(name, "extraActors");
    } catch (const WorkSpent&) {
        // Not the game's verdict: the build gave that.
        if (!StopSignal::IsRequested())
            Report(name, meter.Describe() + "; the check looks no further at its table", 0, 0,
                   true);
    }
}

void LevelCheck::CheckResources(const std::string& name)
{
    // A song, background or artefact picture the pack does not have (or has as another kind)
    // is said by the game's build, which plays without it; the check adds what the game
    // would find only later: a song without the parts a level plays, an artefact without its
    // entry, a file that cannot be loaded.
    const LuaObject level = Globals()["Levels"][name.c_str()];
    const LuaObject music = level["music"];
    if (music.IsString() && *music.GetString() &&
        IsKnownResourceOfKind(music.GetString(), RESOURCE_MUSIC)) {
        // The parts as the music layer reads them: a measure range of two numbers each.
        const ResourceInfo* info = GetResourceManager()->FindInfo(music.GetString(), true);
        const LuaObject& metadata = info->GetMetadata();
        const LuaObject parts = metadata.IsTable() ? metadata["parts"] : LuaObject();
        std::vector<std::string> missing;
        for (const std::string& part : LevelMusicParts()) {
            const LuaObject range = parts.IsTable() ? parts[part.c_str()] : LuaObject();
            if (!(range.IsTable() && range[1].IsNumber() && range[2].IsNumber()))
                missing.push_back(part);
        }
        if (!missing.empty())
            Report(name, "music " + Quoted(music.GetString()) + " has no part " + Join(missing));
        ReportDamaged(name, "music", music.GetString());
    }
    const LuaObject background = level["backgroundName"];
    if (background.IsString() && IsKnownResourceOfKind(background.GetString(), RESOURCE_IMAGE))
        ReportDamaged(name, "background", background.GetString());

    const LuaObject artefact = level["artefact"];
    if (artefact.IsTable() && artefact["name"].IsString()) {
        const std::string picture = artefact["name"].GetString();
        if (picture != "none") {
            if (IsKnownResourceOfKind(picture, RESOURCE_IMAGE))
                ReportDamaged(name, "artefact picture", picture);
            const LuaObject artifacts = Globals()["Artifacts"];
            if (!artifacts.IsTable() || !artifacts[picture.c_str()].IsTable())
                Report(name, "artefact " + Quoted(picture) + " has no entry in Artifacts");
        }
    }
}

int LevelCheck::PaddleLine(const std::string& name, const LuaObject& level)
{
    int line = -1;
    // What is data's is the object boundary's to say, here as in the game: the meter's end
    // and the program's own mistakes pass on.
    std::string why;
    if (!ObjectBoundary::Contain(
            [&] {
                std::unique_ptr<Level> built(new Level(name, level));
                for (const LuaObject& start : built->GetPaddleStarts()) {
                    if (start["vertical"].IsBoolean() && start["vertical"].GetBoolean())
                        continue;
                    const LuaObject position = start["position"];
                    if (position.IsTable() && position[2].IsNumber()) {
                        const int y = position[2].GetInteger();
                        line = line < 0 ? y : std::min(line, y);
                    }
                }
            },
            &why))
        Report(name, "the level table cannot be read: " + why);
    return line < 0 ? kDefaultPaddleLine : line;
}

bool LevelCheck::CheckBrickNames(const std::string& name, const LuaObject& entry, int row,
                                 int column)
{
    const std::string resource = entry["resource"].IsString() ? entry["resource"].GetString() : "";
    if (resource.empty() || !Globals()["Resources"][resource.c_str()].IsTable()) {
        Report(name,
               "unknown brick resource " + Quoted(resource) + DidYouMean(resource, ResourceNames()),
               row, column);
        return false;
    }
    ClassManager* classes = ClassManager::GetInstance();
    const LuaObject powerups = entry["powerups"];
    LuaPlus::ForEachListElement(powerups, [&](int, const LuaObject& value) {
        if (value.IsNil())
            return false;
        const std::string powerup = DataKeyText(value);
        if (!classes->GetClass(powerup, true))
            Report(name,
                   "unknown power-up class " + Quoted(powerup) + DidYouMean(powerup, ClassNames()),
                   row, column);
        return true;
    });
    const LuaObject single = entry["powerupClass"];
    if (single.IsString() && !classes->GetClass(single.GetString(), true))
        Report(name,
               "unknown power-up class " + Quoted(single.GetString()) +
                   DidYouMean(single.GetString(), ClassNames()),
               row, column);
    return true;
}

void LevelCheck::CheckBricks(const std::string& name)
{
    const LuaObject level = Globals()["Levels"][name.c_str()];
    const LuaObject bricks = level["compiledBricks"];
    // Bricks that are not a list are said by the game's build, which refuses the level.
    if (!bricks.IsTable())
        return;
    // Cells are read as the game reads them (Level::ReadCell): what it mends, it says.
    double offset[2] = {0, 0};
    {
        LevelPlace place(name);
        Level::ReadCell(level["offsetPosition"], "offsetPosition", offset[0], offset[1]);
    }
    const int ox = int(offset[0]), oy = int(offset[1]);
    const LuaObject cellWidth = Globals()["BrickWidth"];
    const LuaObject cellHeight = Globals()["BrickHeight"];
    const int cw = cellWidth.IsNumber() ? cellWidth.GetInteger() : 32;
    const int ch = cellHeight.IsNumber() ? cellHeight.GetInteger() : 16;

    const int paddleLine = PaddleLine(name, level);

    std::vector<BrickBox> boxes;
    LuaPlus::ForEachListElement(bricks, [&](int i, const LuaObject& entry) {
        if (!entry.IsTable() || StopSignal::IsRequested())
            return false;
        CheckBrick(name, i, entry, ox, oy, cw, ch, paddleLine, boxes);
        return true;
    });
}

void LevelCheck::CheckBrick(const std::string& name, int i, const LuaObject& entry, int ox, int oy,
                            int cw, int ch, int paddleLine, std::vector<BrickBox>& boxes)
{
    const std::string where = "compiledBricks[" + std::to_string(i) + "]";
    double cell[2];
    bool kept = true;
    {
        LevelPlace place(name, 0, 0, where);
        kept = Level::ReadBrickCell(entry, cell[0], cell[1]);
    }
    const int column = int(cell[0]), row = int(cell[1]);
    if (!CheckBrickNames(name, entry, row, column))
        return;
    const std::string resource = entry["resource"].GetString();

    std::unique_ptr<Brick> brick;
    std::string why;
    if (!ObjectBoundary::Contain(
            [&] {
                // Inside the brick's place a value of the wrong type is reported as the game
                // reports it, and the brick is made as the game makes it, with the default.
                LevelPlace place(name, row, column);
                brick.reset(Brick::CreateFromEntry(
                    kept ? entry : Level::EntryAtCell(entry, cell[0], cell[1]),
                    name + "." + where));
            },
            &why)) {
        Report(name, "the brick cannot be made: " + why, row, column);
        return;
    }
    if (brick->ShowsPlaceholder())
        Report(name, Quoted(resource) + " cannot be made and shows the placeholder", row, column);
    const BrickBox box{column,
                       row,
                       (column + ox - 1) * cw,
                       (row + oy - 1) * ch,
                       brick->GetWidth(),
                       brick->GetHeight()};
    if (box.x < 0 || box.y < 0 || box.x + box.w > kFieldWidth)
        Report(name, "the brick is outside the field", row, column);
    else if (kFieldY + box.y + box.h > paddleLine)
        Report(name,
               "the brick reaches below the paddle's line (y " + std::to_string(paddleLine) + ")",
               row, column);
    for (const BrickBox& other : boxes)
        if (box.Overlaps(other))
            Report(name,
                   "the brick overlaps the brick at row " + std::to_string(other.row) +
                       ", column " + std::to_string(other.column),
                   row, column);
    boxes.push_back(box);
}

void LevelCheck::ReportDamaged(const std::string& level, const std::string& what,
                               const std::string& resource)
{
    ResourceManager* resources = GetResourceManager();
    if (!resources || !resources->FindInfo(resource, true))
        return;
    try {
        resources->Acquire(resource);
    } catch (const ResourceLoadError&) {
        // Recorded as damaged by the load; reported below.
    }
    const auto damaged = resources->GetDamaged().find(resource);
    if (damaged == resources->GetDamaged().end())
        return;
    // Said here, with the level: what the game said of the file is not said again.
    m_ReportedDamaged.insert(resource);
    Report(level, what + " " + Quoted(resource) + " cannot be loaded: " + damaged->second);
}

void LevelCheck::CheckPackFiles()
{
    ResourceManager* resources = GetResourceManager();
    if (!resources)
        return;
    // Every file a loader accepts, as the splash screen caches them, and what levels load
    // only when they start (the on-demand backgrounds), every sound decoded as the game
    // decodes it; every font file at every size the game's fonts use, as the screens' texts
    // open and draw them (FontSizes). What the game says of each is heard (Hear) as the pack's.
    m_File = "pack";
    StartBudgetCount();
    // What the levels left loaded counts as held already; every other file is charged once.
    const long long charged = MemoryBudget::GetCharged() - MemoryBudget::GetHeld();
    resources->StartCaching(true);
    while (resources->CacheNext() && !StopSignal::IsRequested()) {
    }
    // Every file decoded once: what the pack would hold were all of it loaded at once.
    const long long pack = MemoryBudget::GetCharged() - charged;
    m_BudgetLines.push_back(BudgetLine("the pack's pictures and sounds take", pack));
    if (pack > MemoryBudget::GetLimit())
        Report("",
               BudgetLine("the pack's pictures and sounds take", pack) +
                   ": the game lets go of what it does not use and loads it again when asked",
               0, 0, true);
    const std::string unusable = OpenFontsAtUsedSizes();
    if (!unusable.empty())
        Report("", "the game cannot start: " + unusable);
    CheckSongs();
}

void LevelCheck::CheckActors(const std::string& name, const char* key)
{
    const LuaObject actors = Globals()["Levels"][name.c_str()][key];
    if (!actors.IsTable())
        return;
    ClassManager* classes = ClassManager::GetInstance();
    const LuaObject resources = Globals()["Resources"];
    // Every entry, also past a gap the class screen left where it removed one.
    for (const LuaObject& index : GetOrderedKeys(actors)) {
        if (!index.IsNumber())
            continue;
        const std::string what = std::string(key) + "[" + index.ToString() + "]";
        const LuaObject entry = actors[index];
        if (!entry.IsTable()) {
            Report(name, what + " is a " + entry.TypeName() + ", not an object table");
            continue;
        }
        const LuaObject className = entry["class"];
        if (className.IsString() && !classes->GetClass(className.GetString(), true)) {
            // In the words the game's build reports it with, so the two are one line.
            Report(name, what + ": unknown class " + Quoted(ShortenedText(className.GetString())) +
                             "; it is left out" + DidYouMean(className.GetString(), ClassNames()));
            continue;
        }
        const LuaObject resource = entry["resource"];
        if (resource.IsString() && !resources[resource.GetString()].IsTable()) {
            Report(name, what + ": unknown resource " + Quoted(resource.GetString()) +
                             DidYouMean(resource.GetString(), ResourceNames()));
            continue;
        }
        std::string why;
        bool named = true;
        if (!ObjectBoundary::Contain([&] { named = FindClassInResourceTree(entry) != nullptr; },
                                     &why))
            Report(name, what + ": " + why);
        else if (!named)
            Report(name, what + " names no class");
    }
}

namespace {

// Whether a ball is on the field (waiting on its paddle, waiting in the circle it appears
// in until the player serves it, or served) or play has begun.
bool CameToServe(ArcadeGameLogic* logic)
{
    if (logic->GetCurrentState() && logic->GetStateName() == "Playing")
        return true;
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (dynamic_cast<Ball*>(actor))
            return true;
    return !logic->GetBallSpawnAnimations().GetMembers().empty();
}

// The words the game's meter ends a level's build with when it ran out ("level "X" needs
// more than 1000000 steps of work").
std::string SpentWords()
{
    return "needs more than " + std::to_string(WorkMeter::kDefaultUnits) + " steps of work";
}

// Whether a ball stands on the field or is on its way there (a serve's appearing ball).
bool HasBall(ArcadeGameLogic* logic)
{
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (dynamic_cast<Ball*>(actor) && !actor->IsDead())
            return true;
    for (Actor* actor : logic->GetBallSpawnAnimations().GetMembers())
        if (!actor->IsDead())
            return true;
    return false;
}

// Whether the level's goals hold with nothing done: no required brick is left to break and
// no other goal asks for anything ("any" is stored as a large number).
bool WonAtOnce(ArcadeGameLogic* logic, const Level& level)
{
    const bool anyGoobers = level.victoryGoobers < 0 || level.victoryGoobers >= 1000;
    const bool anyPowerups = level.victoryPowerups < 0 || level.victoryPowerups >= 1000;
    return logic->CountRequiredBricks() <= level.victoryBricks && anyGoobers && anyPowerups &&
           level.victoryBalls <= 0 && level.victoryPaddles <= 0;
}

} // namespace

bool LevelCheck::BuildLevel(const std::string& name, const FrameSink& frames)
{
    LuaObject options;
    options.AssignNewTable(GetGlobalLuaState());
    options.SetString("gameType", "Levels");
    options.SetString("levelName", name.c_str());
    options.SetInteger("ballsLeft", 3);
    Globals().SetObject("GameOptions", options);

    // The same frame every run: the field's random choices start from one seed.
    MakoSrand(7);
    std::string failure;
    // Whether the game's meter of the build ran out: the game leaves the level out for its
    // work, and the check looks no further.
    bool spent = false;
    Screen* screen = new Screen("LevelCheckScreen", "bkgGame.jpg", nullptr);
    CheckHost host(screen);
    try {
        FieldLayer* layer = new FieldLayer();
        screen->AddChild(layer, "PlayLayer");
        ArcadeGameLogic* logic = new ArcadeGameLogic(screen, layer, options);
        screen->SetLogic(logic);
        logic->StartGame();
        int passes = 0;
        while (logic->GetLevel() && !CameToServe(logic) && passes < kPassesToServe &&
               !StopSignal::IsRequested()) {
            host.Step();
            ++passes;
        }
        if (!logic->GetLevel()) {
            const LuaObject reason = logic->GetScriptField("levelFailure");
            spent = reason.IsString() &&
                    std::string(reason.GetString()).find(SpentWords()) != std::string::npos;
            failure = reason.IsString() ? "the build throws: " + std::string(reason.GetString())
                                        : "the controller could not load the level";
        } else if (!CameToServe(logic)) {
            failure = "the level did not come to the serve in " + std::to_string(passes) +
                      " passes (state " +
                      (logic->GetCurrentState() ? logic->GetStateName() : "none") + ")";
        } else {
            host.Step(); // the frame with the waiting ball drawn
            // The game serves on a paddle in play when a start names none: a level that
            // still comes to play without a ball cannot be played.
            if (!HasBall(logic))
                Report(name, "no ball is served: the level would play without a ball");
            if (WonAtOnce(logic, *logic->GetLevel()))
                Report(name, "no required brick and no other goal: the level is won at once", 0, 0,
                       true);
            if (frames)
                frames(name, host.GetCanvas());
        }
    } catch (const Exception& e) {
        // Whatever the game's build raises is the level's problem here, the program's own
        // mistakes too: the game would hand those to its crash reporter, and the check names
        // the level that brings them.
        failure = "the build throws: " + e.GetMessage();
    } catch (const std::exception& e) {
        failure = std::string("the build throws: ") + e.what();
    }
    try {
        screen->SetLogic(nullptr);
    } catch (const std::exception& e) {
        failure += std::string(failure.empty() ? "" : "; ") + "ending the game throws: " + e.what();
    }
    host.SetRoot(nullptr);
    // While the host lives, so that what the screen kills on its way out is deleted.
    delete screen;
    if (!failure.empty())
        Report(name, failure);
    return !spent;
}

// ---- The episode order -----------------------------------------------------------------

std::vector<std::string> LevelCheck::GetLevelsInOrder() const
{
    std::vector<std::string> names;
    std::set<std::string> placed;
    const LuaObject order = Globals()["Config"]["LevelOrder"];
    for (int e = 1; order.IsTable() && order[e].IsTable(); ++e)
        for (int i = 1; order[e][i].IsString(); ++i) {
            const std::string name = order[e][i].GetString();
            if (m_LevelFiles.count(name) && placed.insert(name).second)
                names.push_back(name);
        }
    for (const auto& entry : m_LevelFiles)
        if (placed.insert(entry.first).second)
            names.push_back(entry.first);
    return names;
}

void LevelCheck::CheckOrder()
{
    const LuaObject order = Globals()["Config"]["LevelOrder"];
    std::set<std::string> listed;
    m_File = "LevelOrder";
    if (!order.IsTable()) {
        Report("", "Config.LevelOrder is not a table");
        return;
    }
    for (int e = 1; e <= 13; ++e) {
        const LuaObject episode = order[e];
        for (int i = 1; episode.IsTable() && episode[i].IsString(); ++i) {
            const std::string name = episode[i].GetString();
            if (name == "Blank")
                continue;
            listed.insert(name);
            // The map's episodes (the lab's experiments have a screen of their own).
            if (i > GameProgress::kMostLevelsShown && e <= GameProgress::EpisodeCount())
                Report(name, "episode " + std::to_string(e) + ", level " + std::to_string(i) +
                                 ": the map lists at most " +
                                 std::to_string(GameProgress::kMostLevelsShown) +
                                 " levels of an episode");
            if (!m_LevelFiles.count(name))
                Report(name, "episode " + std::to_string(e) + ", level " + std::to_string(i) +
                                 " names a level that no file defines");
        }
    }
    for (const auto& [name, file] : m_LevelFiles) {
        if (listed.count(name))
            continue;
        m_File = file;
        Report(name, "LevelOrder does not list the level", 0, 0, true);
    }
}

} // namespace levelcheck
