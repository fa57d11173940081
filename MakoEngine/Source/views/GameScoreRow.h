#pragma once
// One row of a top-record list: the entry's place, its player's name, its score and its
// game type, each a label made from its label template ("TopScores_IndexLabel",
// "TopScores_PlayerNameLabel", "TopScores_GameScoreLabel", "TopScores_GameTypeLabel").
// The title of a list is a label from "TopRecordsTitleLabel" showing the list's name.
#include "scene/Actor.h"

class GameRecord;
class Label;
class TopRecordsList;

class GameScoreRow : public Actor
{
public:
    // index counts from 0; the row shows index + 1.
    GameScoreRow(int index, const GameRecord& record);

    // A new row for entry index of the list, and a new title label for the list (the
    // caller owns both).
    static GameScoreRow* CreateRow(const TopRecordsList& list, int index);
    static Label* CreateTitle(const TopRecordsList& list);
};
