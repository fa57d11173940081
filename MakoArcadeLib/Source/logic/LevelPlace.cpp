#include "logic/LevelPlace.h"

namespace {

// The level named, else the level of the level place open around it.
std::string LevelOrOuter(const std::string& level)
{
    if (!level.empty())
        return level;
    const auto* outer = dynamic_cast<const LevelPlace*>(DataReport::CurrentPlace());
    return outer ? outer->GetLevel() : std::string();
}

} // namespace

LevelPlace::LevelPlace(const std::string& level, int row, int column, const std::string& where)
    : m_Level(LevelOrOuter(level)), m_Row(row), m_Column(column), m_Where(where), m_Open(*this)
{
}

std::string LevelPlace::Describe() const
{
    std::string words;
    if (!m_Level.empty())
        words = "level \"" + m_Level + "\"";
    if (m_Row > 0)
        words += (words.empty() ? "" : ", ") + std::string("row ") + std::to_string(m_Row) +
                 ", column " + std::to_string(m_Column);
    if (!m_Where.empty())
        words += (words.empty() ? "" : ", ") + m_Where;
    return words;
}

const LevelPlace* LevelPlace::Of(const DataIssue& issue)
{
    return dynamic_cast<const LevelPlace*>(issue.place);
}
