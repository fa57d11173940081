#pragma once
// The level check a level author runs before shipping levels: every level file is run
// into an emptied Levels table, every level it defines is checked against the asset pack
// and the game's tables, and then built the way the game builds it (a game controller on a
// screen of its own, headless) up to the moment the bricks have dropped in and the ball
// waits to be served. Each problem is one line:
//
//   <file>: <level>: row <r>, column <c>: <problem>
//
// with the row and column of the brick text when the problem has a place there, and
// without them otherwise. Warnings say "warning:" before the problem and do not fail.
//
// What the game's one reporter of data (core/DataReport) says while the check lives is a
// line of the report too: make the check before the engine opens the pack, and it names
// what the game says of the pack's metadata, pictures, fonts and sounds as the game loads
// them ("pack: warning: ..."), as well as what the game says while it builds each level.
// A warning of the game is a warning of the check; what the game refuses is a problem.
//
// Run needs the engine open (class registry, resource manager with the pack, the game's
// scripts run); the check works in the global script state and leaves Levels holding what
// the files defined. Main thread only.
#include "core/DataReport.h"
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class Brick;
class Canvas;

namespace levelcheck {

struct BrickBox;

// One level file: its name ("Welcome.lua") and its text, or why it could not be read.
struct LevelSource
{
    LevelSource(std::string file, std::string text, std::string error = std::string())
        : file(std::move(file)), text(std::move(text)), error(std::move(error))
    {
    }

    std::string file;
    std::string text;
    std::string error; // "" when text holds the file
};

struct Problem
{
    std::string file;
    std::string level; // empty when the problem belongs to the file as a whole
    int row = 0;       // brick text row and cell column; 0 when the problem has no place
    int column = 0;
    std::string text;
    bool warning = false;

    // The report's line for it: one line whatever line ends its file, level or text holds
    // (each folded into " / ", as the game's log folds them: OneLineText, core/DataReport.h).
    std::string ToString() const;
};

// The music parts a level plays, in the order the game reaches them.
const std::vector<std::string>& LevelMusicParts();

// The level files of the "Levels" folder of the open pack, in name order, each read as the
// game reads it (LevelManager::ReadLevelFile); a file that cannot be read is there with its
// reason.
std::vector<LevelSource> ReadPackLevels();

class LevelCheck
{
public:
    // The problems listed for one file; past them, one line counts the rest.
    static const int kLinesPerFile = 300;
    // The longest a problem's text and a level's name are listed (longer ones are cut and
    // end in "..."), and the most bytes the listed problems hold together: past them, the
    // file's further problems are only counted. However the files are made, the report
    // stays a few MiB.
    static const std::size_t kLongestText = 2000;
    static const std::size_t kLongestName = 200;
    static const std::size_t kReportBytes = std::size_t(4) << 20;

    // Starts listening to the game's reporter; the listener installed before goes on
    // hearing everything and is put back when the check goes.
    LevelCheck();
    ~LevelCheck();
    LevelCheck(const LevelCheck&) = delete;
    LevelCheck& operator=(const LevelCheck&) = delete;

    // Called with each level's first frame after the drop (the screen rendered onto a
    // 640 x 480 canvas) while the level is built; optional.
    using FrameSink = std::function<void(const std::string& level, Canvas& frame)>;

    // Runs the files, checks each level, the pack's files and the episode order; true when
    // no problem (other than warnings) was found, heard before it or since.
    bool Run(const std::vector<LevelSource>& sources, const FrameSink& frames = nullptr);

    const std::vector<Problem>& GetProblems() const { return m_Problems; }
    // What the game holds decoded (MemoryBudget), as lines for the report: the most each level
    // held while it was built, and what the pack's pictures and sounds take decoded all at
    // once, each against the budget.
    const std::vector<std::string>& GetBudgetLines() const { return m_BudgetLines; }
    int CountErrors() const;
    // The levels found, by name, with the file that defined them.
    const std::map<std::string, std::string>& GetLevelFiles() const { return m_LevelFiles; }
    // The levels found in the order of LevelOrder (episodes 1 to 13), then the rest in name
    // order.
    std::vector<std::string> GetLevelsInOrder() const;

private:
    void LoadSources(const std::vector<LevelSource>& sources);
    void RunSource(const LevelSource& source);
    // Reports why running a file failed, with the level, row and column the text names.
    void ReportRunError(const std::string& error);
    // Whether the level holds no more objects than the game builds; the line saying so when
    // it holds more.
    bool HoldsTheLimit(const std::string& name);
    // What the check looks at in a level's table after the game built it, under a meter of
    // its own (the build runs under the game's).
    void CheckTable(const std::string& name);
    // One issue the game's reporter said.
    void Hear(const DataIssue& issue);
    void CheckResources(const std::string& name);
    void CheckBricks(const std::string& name);
    // One entry of compiledBricks (i: its index), made as the game makes it and held up
    // against the field, the paddle's line and the bricks before it (boxes).
    void CheckBrick(const std::string& name, int i, const LuaPlus::LuaObject& entry, int ox, int oy,
                    int cw, int ch, int paddleLine, std::vector<BrickBox>& boxes);
    // The entry's brick resource and power-up classes exist; false when the brick cannot
    // be made at all.
    bool CheckBrickNames(const std::string& name, const LuaPlus::LuaObject& entry, int row,
                         int column);
    // The top of the highest horizontal paddle start (screen y): no brick may reach below.
    int PaddleLine(const std::string& name, const LuaPlus::LuaObject& level);
    void CheckActors(const std::string& name, const char* key);
    // Reports the resource (what the level uses it as) when it is in the pack but cannot be
    // loaded, with the loader's message, for every level that uses it.
    void ReportDamaged(const std::string& level, const std::string& what,
                       const std::string& resource);
    // Loads every file of the pack a loader accepts and opens every font, as the game does,
    // so what the game says of a damaged one is heard (once each: one a level named is
    // said with the level).
    void CheckPackFiles();
    // Builds the level as the game does up to its serve; false when the game's meter of the
    // build ran out (the game leaves the level out for its work).
    bool BuildLevel(const std::string& name, const FrameSink& frames);
    void CheckOrder();

    // Adds, for each file that had more problems than it lists, the line that counts them.
    void ReportUnlisted();

    void Report(const std::string& level, const std::string& text, int row = 0, int column = 0,
                bool warning = false);

    std::string m_File;                      // the file of the level being checked
    std::set<std::string> m_ReportedDamaged; // damaged resources reported so far
    // What the game said of each damaged resource it met, said for the pack once the levels
    // are checked unless a level named it.
    std::map<std::string, std::string> m_HeardDamaged;
    std::vector<Problem> m_Problems;
    std::unordered_set<std::string> m_Reported;  // the problems' lines: each is reported once
    std::size_t m_ReportBytes = 0;               // bytes of the problems listed
    std::map<std::string, int> m_LinesOfFile;    // problems found in each file
    std::map<std::string, long long> m_Unlisted; // of them, those past the lines a file lists
    std::map<std::string, std::string> m_LevelFiles;
    std::vector<std::string> m_BudgetLines;
    DataReport::Listener m_Previous; // the listener before the check's
};

} // namespace levelcheck
