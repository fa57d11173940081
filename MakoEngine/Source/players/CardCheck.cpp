#include "players/CardCheck.h"

#include "core/ShownText.h"
#include "lua/ScriptValueReaders.h"
#include "lua/SerializeCheck.h"
#include "players/PlayerScript.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <unordered_set>
#include <utility>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

// Keys as long as this are shown cut in messages.
const std::size_t kShownKeyLength = 40;

CardCheck::ModeShape& CurrentModeShape()
{
    static CardCheck::ModeShape shape;
    return shape;
}

std::vector<CardCheck::ModeShape::Counter>& CurrentGameRecordFields()
{
    static std::vector<CardCheck::ModeShape::Counter> fields;
    return fields;
}

// The counter's value for number: a whole number from low to high (0 for one that is not
// finite, clamped to low and high when outside them), and whether number already was it.
bool IsInRange(double number, int low, int high, double& mended)
{
    if (!std::isfinite(number))
        mended = std::clamp(0, low, high);
    else
        mended =
            std::clamp(std::floor(number), static_cast<double>(low), static_cast<double>(high));
    mended += 0.0; // never -0
    // A negative zero is written "-0" and shown so: it is not the 0 it stands for.
    return number == mended && !std::signbit(number);
}

bool IsPlainName(const std::string& text)
{
    if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    for (char c : text)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

// The key as it appears after its table in a message: ".Name", "[3]", "[\"game.mode\"]".
std::string KeyText(const LuaObject& key)
{
    if (key.IsString()) {
        std::string text(key.GetString(), key.GetStrLen());
        if (IsPlainName(text) && text.size() <= kShownKeyLength)
            return "." + text;
        if (text.size() > kShownKeyLength)
            text = text.substr(0, kShownKeyLength) + "...";
        return "[\"" + text + "\"]";
    }
    if (key.IsNumber())
        return boost::str(boost::format("[%1%]") % key.GetNumber());
    return std::string("[") + key.TypeName() + "]";
}

// The place of the key in the table at where ("" for the card itself).
std::string Place(const std::string& where, const LuaObject& key)
{
    const std::string text = KeyText(key);
    return where.empty() && text[0] == '.' ? text.substr(1) : where + text;
}

// A number as a message shows it: whole numbers in full ("2147483647", "-0"), others in
// at most 15 digits ("150.7", "1e+308", "inf", "nan").
std::string CardNumberText(double number)
{
    char text[64];
    if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", number);
    else
        std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

std::string ValueText(const LuaObject& value)
{
    if (value.IsNumber())
        return CardNumberText(value.GetNumber());
    return std::string("a ") + value.TypeName();
}

// Whether the number is one the game can keep: finite and within an int.
bool FitsInt(double number)
{
    return std::isfinite(number) && number >= std::numeric_limits<int>::min() &&
           number <= std::numeric_limits<int>::max();
}

} // namespace

CardCheck::CardCheck(const LuaObject& card) : m_Card(card) {}

bool CardCheck::Reject(const std::string& problem)
{
    m_Problem = problem;
    return false;
}

bool CardCheck::Run()
{
    m_Problem.clear();
    m_Repairs.clear();
    if (!m_Card.IsTable())
        return Reject("the file holds no card");
    // What cannot be written back (a table that holds itself, tables shared so often that
    // the text would not end) is refused before anything walks the card.
    const std::string unsaved = WhyCannotSerialize(m_Card);
    if (!unsaved.empty())
        return Reject("the card cannot be saved: it " + unsaved);
    if (!CheckGuid())
        return false;
    std::unordered_set<const void*> visited;
    return CheckName() && CheckOptions() && CheckGameModes() && CheckRecordLists() &&
           CheckNumbers(m_Card, "", 0, visited);
}

bool CardCheck::CheckGuid()
{
    LuaObject guid = m_Card["guid"];
    if (guid.IsNil())
        return Reject("the card has no guid");
    if (PlayerScript::IsInteger(guid))
        return true;
    // The card keeps its progress under a new guid, as a copied card does.
    LuaObject fresh = PlayerScript::CallGlobal(m_Card.GetState(), "CreatePlayerGuid");
    m_Card.SetObject("guid", fresh);
    Repaired(boost::str(boost::format("guid was %1%, not a whole number; it was given the guid "
                                      "%2%") %
                        ValueText(guid) % fresh.GetInteger()));
    return true;
}

bool CardCheck::CheckName()
{
    LuaObject name = m_Card["Name"];
    if (name.IsNil())
        return true;
    if (!name.IsString())
        return Reject("Name is " + ValueText(name) + ", not text");
    MendText(m_Card, "Name", "Name", kMaxNameLength);
    return true;
}

void CardCheck::MendText(LuaObject holder, const char* key, const std::string& where,
                         std::size_t maxLength)
{
    const LuaObject value = holder[key];
    if (!value.IsString())
        return;
    // The whole text, NULs included: a label shows none of what follows a NUL, and a bar
    // after one would still reach it.
    ShownText shown;
    if (!shown.Mend(std::string(value.GetString(), value.GetStrLen()), maxLength))
        return;
    holder.SetString(key, shown.GetText());
    for (const std::string& mend : shown.GetMends())
        Repaired(where + " " + mend);
}

bool CardCheck::CheckOptions()
{
    LuaObject options = m_Card["Options"];
    if (options.IsNil()) {
        options = PlayerScript::CallGlobal(m_Card.GetState(), "CreateOptionsTable");
        m_Card.SetObject("Options", options);
        Repaired("Options was missing; the card was given the options of a new card");
        return true;
    }
    if (!options.IsTable())
        return Reject("Options is " + ValueText(options) + ", not a table");
    LuaObject defaults = PlayerScript::CallGlobal(m_Card.GetState(), "CreateOptionsTable");
    for (const char* key : {"game.mode", "player.skill"}) {
        LuaObject value = options[key];
        if (value.IsString())
            continue;
        options.SetObject(key, defaults[key]);
        Repaired(boost::str(boost::format("Options[\"%1%\"] was %2%; it was set to \"%3%\"") % key %
                            (value.IsNil() ? "missing" : ValueText(value)) %
                            defaults[key].GetString()));
    }
    return true;
}

bool CardCheck::CheckGameModes()
{
    LuaObject modes = m_Card["Game_Modes"];
    if (modes.IsNil()) {
        m_Card.CreateTable("Game_Modes");
        Repaired("Game_Modes was missing; the card starts with no progress");
        return true;
    }
    if (!modes.IsTable())
        return Reject("Game_Modes is " + ValueText(modes) + ", not a table");
    for (LuaTableIterator it(modes); it; it.Next()) {
        const std::string where = Place("Game_Modes", it.GetKey());
        if (!it.GetValue().IsTable())
            return Reject(where + " is " + ValueText(it.GetValue()) + ", not a table");
        if (!CheckModeTable(it.GetValue(), where))
            return false;
    }
    return true;
}

void CardCheck::SetModeShape(ModeShape shape)
{
    CurrentModeShape() = std::move(shape);
}

const CardCheck::ModeShape& CardCheck::GetModeShape()
{
    return CurrentModeShape();
}

bool CardCheck::CheckModeTable(LuaObject mode, const std::string& where)
{
    LuaObject defaults = PlayerScript::CallGlobal(m_Card.GetState(), "CreateGameModeTable");
    const ModeShape& shape = GetModeShape();
    for (const ModeShape::Counter& counter : shape.counters) {
        LuaObject value = mode[counter.key];
        if (value.IsNil())
            continue;
        double mended = 0;
        if (value.IsNumber() && IsInRange(value.GetNumber(), counter.low, counter.high, mended))
            continue;
        if (value.IsNumber() && std::isfinite(value.GetNumber()) &&
            value.GetNumber() >= counter.low && value.GetNumber() <= counter.high) {
            // A fraction within the range: the whole number below it.
            mode.SetNumber(counter.key, mended);
            Repaired(boost::str(boost::format("%1%.%2% was %3% (it must be a whole number); it "
                                              "was set to %4%") %
                                where % counter.key % ValueText(value) % CardNumberText(mended)));
            continue;
        }
        mode.SetObject(counter.key, defaults[counter.key]);
        Repaired(boost::str(boost::format("%1%.%2% was %3% (it must be %4% to %5%); it was set "
                                          "to %6%") %
                            where % counter.key % ValueText(value) % counter.low % counter.high %
                            defaults[counter.key].GetNumber()));
    }
    for (const char* key : shape.names) {
        LuaObject value = mode[key];
        if (value.IsString())
            MendText(mode, key, where + "." + key, ShownText::kMaxLength);
        if (value.IsNil() || value.IsString())
            continue;
        mode.SetObject(key, defaults[key]);
        Repaired(boost::str(boost::format("%1%.%2% was %3%; it was set to \"%4%\"") % where % key %
                            ValueText(value) % defaults[key].GetString()));
    }
    for (const ModeShape::Lookup& lookup : shape.lookups)
        CheckLookup(mode, lookup, where + "." + lookup.key);
    for (const char* key : shape.lists) {
        if (!CheckTableOfTables(mode, key, where + "." + key))
            return false;
        CheckRecordFields(mode[key], shape.recordFields, where + "." + key);
        CheckRecordTexts(mode[key], shape.recordTexts, where + "." + key);
    }
    return true;
}

void CardCheck::SetGameRecordFields(std::vector<ModeShape::Counter> fields)
{
    CurrentGameRecordFields() = std::move(fields);
}

void CardCheck::CheckRecordFields(const LuaObject& list,
                                  const std::vector<ModeShape::Counter>& fields,
                                  const std::string& where)
{
    if (!list.IsTable())
        return;
    for (LuaTableIterator it(list); it; it.Next()) {
        LuaObject record = it.GetValue();
        if (!record.IsTable())
            continue;
        for (const ModeShape::Counter& field : fields) {
            LuaObject value = record[field.key];
            double mended = 0;
            if (!value.IsNumber() || IsInRange(value.GetNumber(), field.low, field.high, mended))
                continue;
            record.SetNumber(field.key, mended);
            Repaired(boost::str(boost::format("%1%.%2% was %3% (it must be a whole number from %4% "
                                              "to %5%); it was set to %6%") %
                                Place(where, it.GetKey()) % field.key % ValueText(value) %
                                field.low % field.high % CardNumberText(mended)));
        }
    }
}

void CardCheck::CheckRecordTexts(const LuaObject& list, const std::vector<const char*>& keys,
                                 const std::string& where)
{
    if (!list.IsTable())
        return;
    for (LuaTableIterator it(list); it; it.Next()) {
        if (!it.GetValue().IsTable())
            continue;
        const std::string place = Place(where, it.GetKey());
        for (const char* key : keys)
            MendText(it.GetValue(), key, place + "." + key, ShownText::kMaxLength);
        for (const ModeShape::Lookup& lookup : GetModeShape().lookups)
            CheckLookup(it.GetValue(), lookup, place + "." + lookup.key);
    }
}

void CardCheck::CheckLookup(LuaObject holder, const ModeShape::Lookup& lookup,
                            const std::string& where)
{
    const LuaObject value = holder[lookup.key];
    const LuaObject table = m_Card.GetState()->GetGlobal(lookup.table);
    if (!value.IsString() || !table.IsTable() || std::string(value.GetString()) == lookup.none ||
        !table[std::string(value.GetString())].IsNil())
        return;
    holder.SetString(lookup.key, lookup.none);
    Repaired(boost::str(boost::format("%1% names nothing in %2%; it was set to \"%3%\"") % where %
                        lookup.table % lookup.none));
}

bool CardCheck::CheckRecordLists()
{
    LuaObject records = m_Card["Game_Records"];
    if (!records.IsNil() && !records.IsTable())
        return Reject("Game_Records is " + ValueText(records) + ", not a table");
    CheckRecordFields(records, CurrentGameRecordFields(), "Game_Records");
    LuaObject saves = m_Card["Game_Saves"];
    if (!saves.IsNil() && !saves.IsTable())
        return Reject("Game_Saves is " + ValueText(saves) + ", not a table");
    return true;
}

bool CardCheck::CheckTableOfTables(const LuaObject& holder, const char* key,
                                   const std::string& where)
{
    LuaObject table = holder[key];
    if (table.IsNil())
        return true;
    if (!table.IsTable())
        return Reject(where + " is " + ValueText(table) + ", not a table");
    // A stray value among the records holds nothing the game could use: it goes.
    std::vector<LuaObject> stray;
    for (LuaTableIterator it(table); it; it.Next())
        if (!it.GetValue().IsTable()) {
            stray.push_back(it.GetKey());
            Repaired(Place(where, it.GetKey()) + " was " + ValueText(it.GetValue()) +
                     ", not a record; it was dropped");
        }
    for (const LuaObject& strayKey : stray)
        table.SetNil(strayKey);
    if (!stray.empty() && std::string(key) != "LevelRecords")
        CloseGaps(table);
    return true;
}

void CardCheck::CloseGaps(LuaObject list)
{
    // Number key -> (key, value), in key order.
    std::map<double, std::pair<LuaObject, LuaObject>> entries;
    for (LuaTableIterator it(list); it; it.Next())
        if (it.GetKey().IsNumber())
            entries.emplace(it.GetKey().GetNumber(), std::make_pair(it.GetKey(), it.GetValue()));
    for (const auto& entry : entries)
        list.SetNil(entry.second.first);
    int index = 0;
    for (const auto& entry : entries)
        list.SetObject(++index, entry.second.second);
}

bool CardCheck::CheckNumbers(LuaObject table, const std::string& where, int depth,
                             std::unordered_set<const void*>& visited)
{
    if (depth > kMaxDepth)
        return Reject(where + " is nested more than " + std::to_string(kMaxDepth) + " tables deep");
    // A table reached again (shared, or holding itself) was checked the first time.
    const void* identity = TableIdentity(table);
    if (!visited.insert(identity).second)
        return true;
    // Keys are changed after the walk: a walk may not meet keys it did not start with.
    std::vector<LuaObject> dropped;
    std::vector<std::pair<LuaObject, LuaObject>> zeroed;
    for (LuaTableIterator it(table); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        const LuaObject& value = it.GetValue();
        if (key.IsNumber() && !std::isfinite(key.GetNumber())) {
            dropped.push_back(key);
            Repaired(Place(where, key) + " has a key that is not a finite number; the entry was "
                                         "dropped");
        } else if (value.IsNumber() &&
                   (!FitsInt(value.GetNumber()) ||
                    (value.GetNumber() == 0 && std::signbit(value.GetNumber())))) {
            // A negative zero too: the file and the screens would show "-0".
            zeroed.emplace_back(key, value);
            Repaired(Place(where, key) + " was " + ValueText(value) + "; it was set to 0");
        } else if (value.IsTable() && !CheckNumbers(value, Place(where, key), depth + 1, visited)) {
            return false;
        }
    }
    for (const LuaObject& key : dropped)
        table.SetNil(key);
    for (const auto& [key, value] : zeroed)
        table.SetNumber(key, 0);
    return true;
}
