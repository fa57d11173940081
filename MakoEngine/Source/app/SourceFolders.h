#pragma once
// Where a development run (--noExeResources) reads the engine's and the game's scripts and
// configuration files: the folders MakoEngine/Source, MakoArcadeLib/Source and game of the
// source tree, instead of the copies the program carries inside itself.
#include <string>

class SourceFolders
{
public:
    // The source tree's root as a prefix ending in '/', for the program's folder (the
    // working directory once start-up has changed into it): "../" when that folder sits
    // directly inside the tree, else the tree the program was built from while it still
    // holds the engine's sources. Throws an Exception naming both places when neither does.
    static std::string FindRoot();
    // FindRoot with the places given: the program's folder and the tree it was built from.
    static std::string FindRoot(const std::string& programFolder, const std::string& builtFrom);
};
