#include "screens/MapProgress.h"

#include "logic/GameProgress.h"

#include <algorithm>
#include <cmath>
#include <limits>

using LuaPlus::LuaObject;

int ReadWholeNumber(const LuaObject& value, int fallback)
{
    if (!value.IsNumber())
        return fallback;
    const double number = value.GetNumber();
    if (!std::isfinite(number))
        return fallback;
    if (number >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (number <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(number);
}

MapProgress MapProgress::Read(LuaObject modeTable)
{
    MapProgress progress;
    progress.m_Episodes = GameProgress::EpisodeCount();
    if (!modeTable.IsTable())
        return progress;

    if (!modeTable["LevelSelected"].IsNil()) {
        MapPlace place;
        place.level = ReadWholeNumber(modeTable["LevelSelected"], 1);
        place.episode = ReadWholeNumber(modeTable["EpisodeSelected"], 1);
        if (place.episode < 1 || place.episode > progress.m_Episodes)
            place = MapPlace();
        else if (place.level < 1 || place.level > progress.LevelCount(place.episode))
            place.level = 1;
        progress.selected = place;
    }
    // A table without unlocked values has (1, 1) open.
    if (!modeTable["LevelUnlocked"].IsNil()) {
        MapPlace open;
        open.level = ReadWholeNumber(modeTable["LevelUnlocked"], 1);
        open.episode = ReadWholeNumber(modeTable["EpisodeUnlocked"], 1);
        if (open.episode < 1) {
            open = MapPlace();
        } else if (open.episode > progress.m_Episodes && progress.m_Episodes > 0) {
            open.episode = progress.m_Episodes;
            open.level = progress.LevelCount(open.episode);
        }
        if (open.level < 1)
            open.level = 1;
        else if (open.level > progress.LevelCount(open.episode))
            open.level = std::max(1, progress.LevelCount(open.episode));
        progress.unlocked = open;
    }
    return progress;
}

void MapProgress::WriteSelection(LuaObject modeTable) const
{
    if (!modeTable.IsTable())
        return;
    modeTable.SetInteger("LevelSelected", selected.level);
    modeTable.SetInteger("EpisodeSelected", selected.episode);
}

int MapProgress::LevelCount(int episode) const
{
    if (episode < 1 || episode > m_Episodes)
        return 0;
    return GameProgress::LevelCount(episode);
}

bool MapProgress::Exists(const MapPlace& place) const
{
    return place.level >= 1 && place.level <= LevelCount(place.episode);
}

bool MapProgress::IsUnlocked(const MapPlace& place) const
{
    if (!Exists(place))
        return false;
    return place.episode < unlocked.episode ||
           (place.episode == unlocked.episode && place.level <= unlocked.level);
}

bool MapProgress::IsEpisodeUnlocked(int episode) const
{
    return episode >= 1 && episode <= m_Episodes && episode <= unlocked.episode;
}

MapPlace MapProgress::PreviousLevel(const MapPlace& from) const
{
    // Walk back from the place, skipping what is locked or missing; from (1, 1) wrap to
    // the newest unlocked place.
    MapPlace place = from;
    if (unlocked < place)
        return unlocked;
    while (true) {
        if (place.level > 1) {
            --place.level;
        } else if (place.episode > 1) {
            --place.episode;
            place.level = LevelCount(place.episode);
        } else {
            return unlocked;
        }
        if (IsUnlocked(place))
            return place;
    }
}

MapPlace MapProgress::NextLevel(const MapPlace& from) const
{
    MapPlace place = from;
    if (place.episode < 1 || place.level < 1)
        place = MapPlace{1, 0};
    while (place < unlocked) {
        if (place.level < LevelCount(place.episode)) {
            ++place.level;
        } else {
            ++place.episode;
            place.level = 1;
        }
        if (IsUnlocked(place))
            return place;
    }
    return MapPlace();
}

MapPlace MapProgress::PreviousEpisode(int from) const
{
    const int episode = from > 1 && from - 1 <= unlocked.episode ? from - 1 : unlocked.episode;
    return MapPlace{episode, 1};
}

MapPlace MapProgress::NextEpisode(int from) const
{
    const int episode = from >= 0 && from + 1 <= unlocked.episode ? from + 1 : 1;
    return MapPlace{std::max(episode, 1), 1};
}
