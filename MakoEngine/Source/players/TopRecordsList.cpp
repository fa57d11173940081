#include "players/TopRecordsList.h"

#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "core/ValueTypeError.h"

#include <cmath>

#include <algorithm>

TopGameRecordsList::TopGameRecordsList(const std::string& name, Ordering ordering)
    : TopRecordsList(name), m_Ordering(std::move(ordering))
{
}

bool TopGameRecordsList::GameScore(const LuaPlus::LuaObject& record, double* score)
{
    const LuaPlus::LuaObject value = record.IsTable() ? record["gameScore"] : LuaPlus::LuaObject();
    if (!value.IsNumber() || !std::isfinite(value.GetNumber()))
        return false;
    *score = value.GetNumber();
    return true;
}

const GameRecord& TopGameRecordsList::GetRecord(int index) const MAKO_LIFETIMEBOUND
{
    MAKO_ASSERT(index >= 0 && index < GetCount());
    return m_Records[index];
}

void TopGameRecordsList::OnGameRecord(const GameRecord& record)
{
    const LuaPlus::LuaObject table = record.GetTable();
    double score = 0;
    if (!GameScore(table, &score))
        ObjectBoundary::ReportOnce("Game record " + std::to_string(record.GetGuid()),
                                   "\"gameScore\" is " + DescribeScriptValue(table["gameScore"]) +
                                       ", not a number; the record counts as having no score");
    m_Records.push_back(record);
    std::stable_sort(m_Records.begin(), m_Records.end(),
                     [this](const GameRecord& a, const GameRecord& b) {
                         return m_Ordering(a.GetTable(), b.GetTable());
                     });
    if (m_Records.size() > static_cast<std::size_t>(kMaxEntries))
        m_Records.erase(m_Records.begin() + kMaxEntries, m_Records.end());
}
