#pragma once
// Finds level tables by name or by episode and level number and makes them into Levels.
// One instance exists from the game's start-up to its shutdown (the application makes and
// deletes it); making it runs the script function SetupLevel.
//
// Main thread only.
#include <string>
#include <vector>

class Level;
namespace LuaPlus {
class LuaState;
}

class LevelManager
{
public:
    LevelManager();
    ~LevelManager();
    LevelManager(const LevelManager&) = delete;
    LevelManager& operator=(const LevelManager&) = delete;

    // The instance; raises when none exists.
    static LevelManager* GetLevelManager();
    // Whether an instance exists.
    static bool Exists();

    // A new Level of the entry of Levels under that name; null when the entry is missing
    // or not a table. The caller owns the result. Raises when Levels is not a table.
    Level* GetLevel(const std::string& name) const;
    // The level of that episode and level number (1-based) in LevelOrder; null when the
    // order has no such entry or the entry names no level.
    Level* GetLevelAt(int episode, int level) const;
    // The name at that place of LevelOrder; "" when there is none.
    static std::string GetLevelNameAt(int episode, int level);
    // The level files: the entries of the package folder "Levels" (names only, in listing
    // order); empty when the package file system is not running or has no such folder.
    static std::vector<std::string> GetLevelFileNames();
    // The text of the level file of that name, read as the game reads every file of its
    // pack (the script source of the resource manager: a regular file of bounded size, see
    // PhysFSFileReader). False with the reason in error when it cannot be read.
    static bool ReadLevelFile(const std::string& name, std::string& text, std::string& error);
    // Runs one level file of the package's Levels folder (names not ending ".lua" are left
    // alone), read by ReadLevelFile, through RunLevelText: a file that fails, never ends, grows
    // without end or reaches for what a level file may not have is logged by name and skipped, and
    // the levels the others define load. A file a stop cut short is said to be so, not skipped
    // (core/ObjectBoundary decides); the program's own mistakes pass on.
    static void RunLevelFile(LuaPlus::LuaState* state, const std::string& name);
    // Runs a level file's text as a data file (lua/DataScript) under chunkName: it sees the
    // bounded base library, Levels and the level compiler's functions, and nothing else.
    // The run and the search for functions the file made, in the levels it set (and in
    // all of Levels only when it read a level of the files before it), are charged to one
    // WorkMeter for the file: when that runs out or a stop is asked for, WorkSpent names the
    // file, and none of the levels a file that may make functions set are taken in.
    // Returns 0, or the failure's status with its reason in error.
    static int RunLevelText(LuaPlus::LuaState* state, const std::string& text,
                            const std::string& chunkName, std::string& error);

private:
    static LevelManager* s_LevelManager;
};
