#pragma once
// The game's level files for tests that play levels: runs every ".lua" file of the test
// asset pack's folder "Levels" (the copies of game/Levels the asset generator made) into a
// fresh Levels table, in name order, as the game does at start-up.
//
//   bbtest::OpenGameResources();
//   bbtest::LoadGameLevels();      // Levels.Welcome, Levels.Crates, ... now exist
//
// A level file that fails fails the calling test with the file's name and the error.
#include <string>
#include <vector>

namespace bbtest {

// Returns the file names run ("Welcome.lua", ...). Safe to call again: each call starts
// from an empty Levels table.
std::vector<std::string> LoadGameLevels();

} // namespace bbtest
