#include "kit/LuaText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace assetgen {

namespace {

const LuaValue kNil;

bool IsLuaName(const std::string& s)
{
    static const char* const kKeywords[] = {
        "and", "break",    "do",     "else", "elseif", "end",   "false",
        "for", "function", "if",     "in",   "local",  "nil",   "not",
        "or",  "repeat",   "return", "then", "true",   "until", "while"};
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0])))
        return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return std::none_of(std::begin(kKeywords), std::end(kKeywords),
                        [&](const char* k) { return s == k; });
}

std::string NumberText(double v)
{
    if (!std::isfinite(v))
        throw std::domain_error("Lua text cannot hold a non-finite number");
    char buf[40];
    // The shortest form that reads back to the same double.
    for (int precision = 6; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, v);
        if (std::strtod(buf, nullptr) == v)
            break;
    }
    return buf;
}

} // namespace

LuaValue LuaValue::Array(std::vector<LuaValue> items)
{
    LuaValue t = Table();
    t.m_Array = std::move(items);
    return t;
}

LuaValue& LuaValue::Set(const std::string& key, LuaValue value)
{
    if (m_Kind == Kind::Nil)
        m_Kind = Kind::Table;
    if (m_Kind != Kind::Table)
        throw std::logic_error("only a table has fields");
    auto it =
        std::lower_bound(m_Fields.begin(), m_Fields.end(), key,
                         [](const auto& field, const std::string& k) { return field.first < k; });
    const bool found = it != m_Fields.end() && it->first == key;
    if (value.IsNil()) {
        if (found)
            m_Fields.erase(it);
    } else if (found) {
        it->second = std::move(value);
    } else {
        m_Fields.insert(it, {key, std::move(value)});
    }
    return *this;
}

const LuaValue& LuaValue::Get(const std::string& key) const
{
    for (const auto& field : m_Fields)
        if (field.first == key)
            return field.second;
    return kNil;
}

LuaValue& LuaValue::Append(LuaValue value)
{
    if (m_Kind == Kind::Nil)
        m_Kind = Kind::Table;
    if (m_Kind != Kind::Table)
        throw std::logic_error("only a table has an array part");
    m_Array.push_back(std::move(value));
    return *this;
}

std::string LuaValue::ToLua(int indent) const
{
    switch (m_Kind) {
    case Kind::Nil:
        return "nil";
    case Kind::Bool:
        return m_Bool ? "true" : "false";
    case Kind::Integer:
        return std::to_string(m_Int);
    case Kind::Number:
        return NumberText(m_Number);
    case Kind::String:
        return LuaQuote(m_String);
    case Kind::Table:
        break;
    }
    if (m_Array.empty() && m_Fields.empty())
        return "{}";
    std::vector<std::string> items;
    bool nested = false;
    for (const LuaValue& v : m_Array) {
        nested = nested || v.IsTable();
        items.push_back(v.ToLua(indent + 1));
    }
    for (const auto& [key, v] : m_Fields) {
        nested = nested || v.IsTable();
        items.push_back(LuaKey(key) + " = " + v.ToLua(indent + 1));
    }
    std::string out = "{";
    if (!nested) {
        for (std::size_t i = 0; i < items.size(); ++i)
            out += (i ? ", " : " ") + items[i];
        return out + " }";
    }
    const std::string pad(static_cast<std::size_t>(indent + 1) * 4, ' ');
    for (const std::string& item : items)
        out += "\n" + pad + item + ",";
    return out + "\n" + std::string(static_cast<std::size_t>(indent) * 4, ' ') + "}";
}

std::string LuaQuote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (c < 32 || c == 127) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\%03u", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string LuaKey(const std::string& key)
{
    return IsLuaName(key) ? key : "[" + LuaQuote(key) + "]";
}

std::string MetadataFileText(const std::vector<std::pair<std::string, LuaValue>>& entries)
{
    auto sorted = entries;
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::string out = "-- Metadata of the files in this folder, by file name.\nMetadata {\n";
    for (const auto& [name, value] : sorted)
        out += "    [" + LuaQuote(name) + "] = " + value.ToLua(1) + ",\n";
    return out + "}\n";
}

} // namespace assetgen
