#include "players/TopRecordsList.h"

#include "core/Exception.h"

#include <algorithm>

TopGameRecordsList::TopGameRecordsList(const std::string& name, Ordering ordering)
    : TopRecordsList(name), m_Ordering(std::move(ordering))
{
}

bool TopGameRecordsList::ByGameScore(const LuaPlus::LuaObject& a, const LuaPlus::LuaObject& b)
{
    return a["gameScore"].GetInteger() > b["gameScore"].GetInteger();
}

const GameRecord& TopGameRecordsList::GetRecord(int index) const MAKO_LIFETIMEBOUND
{
    MAKO_ASSERT(index >= 0 && index < GetCount());
    return m_Records[index];
}

void TopGameRecordsList::OnGameRecord(const GameRecord& record)
{
    m_Records.push_back(record);
    std::stable_sort(m_Records.begin(), m_Records.end(),
                     [this](const GameRecord& a, const GameRecord& b) {
                         return m_Ordering(a.GetTable(), b.GetTable());
                     });
    if (m_Records.size() > static_cast<std::size_t>(kMaxEntries))
        m_Records.erase(m_Records.begin() + kMaxEntries, m_Records.end());
}
