#pragma once
// Where in a level an author's slip is, as DataReport names it: the level's name, the cell
// of a brick in the level's brick text (row and column, from 1; 0 when the problem has no
// cell) and an entry of the level table ("levelActors[2]"). Making one opens it as the
// current place until it is destroyed; a place made without a level name inside another
// level place keeps that place's level. Main thread only.
#include "core/DataReport.h"

#include <string>

class LevelPlace : public DataPlace
{
public:
    explicit LevelPlace(const std::string& level, int row = 0, int column = 0,
                        const std::string& where = std::string());
    LevelPlace(const LevelPlace&) = delete;
    LevelPlace& operator=(const LevelPlace&) = delete;

    // `level "Welcome", row 2, column 5, levelActors[2]`, leaving out what it lacks.
    std::string Describe() const override;

    const std::string& GetLevel() const MAKO_LIFETIMEBOUND { return m_Level; }
    int GetRow() const { return m_Row; }
    int GetColumn() const { return m_Column; }
    const std::string& GetWhere() const MAKO_LIFETIMEBOUND { return m_Where; }

    // The level place an issue was found in; null when it was found outside one.
    static const LevelPlace* Of(const DataIssue& issue);

private:
    std::string m_Level;
    int m_Row;
    int m_Column;
    std::string m_Where;
    DataReport::Place m_Open; // last: opens the place once the fields are set
};
