#pragma once
// What the adventure map may show and select: the player's selected and furthest unlocked
// places (episode, level), read from the Adventure table and held to what the level order
// has, and the moves of the map's arrows and keys, which only ever land on unlocked places.
//
// Episodes are counted by EpisodeNames, levels by the episode's list in LevelOrder (both in
// the constant configuration). Every level of an episode before the unlocked one is open,
// and levels 1 .. unlocked level of the unlocked episode.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

struct MapPlace
{
    int episode = 1;
    int level = 1;
    bool operator==(const MapPlace& other) const
    {
        return episode == other.episode && level == other.level;
    }
    bool operator<(const MapPlace& other) const
    {
        return episode < other.episode || (episode == other.episode && level < other.level);
    }
};

class MapProgress
{
public:
    // Reads the mode table, writing nothing into it: what the map shows is held to what this
    // game has, and the card keeps what it holds (a card of a game with more episodes or
    // levels keeps its selection until the player chooses). The selection reads as (1, 1)
    // when it is missing or its episode does not exist; its level as 1 when the episode has
    // no such level. A table without unlocked values reads as (1, 1) open. The unlocked place
    // is held to the last existing level (a value past the end means everything is open)
    // and to (1, 1) from below.
    static MapProgress Read(LuaPlus::LuaObject modeTable);

    // Writes LevelSelected and EpisodeSelected: what the player chose.
    void WriteSelection(LuaPlus::LuaObject modeTable) const;

    int EpisodeCount() const { return m_Episodes; }
    int LevelCount(int episode) const;
    bool Exists(const MapPlace& place) const;
    bool IsUnlocked(const MapPlace& place) const;
    bool IsEpisodeUnlocked(int episode) const;

    // The unlocked place before / after `from` in play order, wrapping from the first to
    // the newest unlocked place and back. `from` itself need not be unlocked.
    MapPlace PreviousLevel(const MapPlace& from) const;
    MapPlace NextLevel(const MapPlace& from) const;
    // Level 1 of the unlocked episode before / after `from`, wrapping likewise.
    MapPlace PreviousEpisode(int from) const;
    MapPlace NextEpisode(int from) const;

    MapPlace selected;
    MapPlace unlocked;

private:
    int m_Episodes = 0;
};

// A Lua number as a whole number: truncated toward zero, held to the int range; the
// fallback for anything that is not a finite number.
int ReadWholeNumber(const LuaPlus::LuaObject& value, int fallback);
