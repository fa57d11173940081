#include "core/ValueTypeError.h"

#include "core/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using LuaPlus::LuaObject;

namespace {

// Strings longer than this are shown cut, with "..." after them.
const std::size_t kShownStringLength = 40;

} // namespace

ValueTypeError::ValueTypeError(const std::string& file, int line, const std::string& function,
                               const std::string& date, const std::string& time,
                               const std::string& needed, const std::string& seen,
                               const std::string& ownMessage)
    : ApplyPropertyError(file, line, function, date, time, std::string()), m_OwnMessage(ownMessage),
      m_Needed(needed), m_Seen(seen)
{
    Compose();
}

ValueTypeError ValueTypeError::ForKey(const std::string& subject, const std::string& key) const
{
    ValueTypeError named(*this);
    if (!m_Key.empty())
        return named;
    named.m_Subject = subject;
    named.m_Key = key;
    named.Compose();
    return named;
}

std::string ValueTypeError::GetDetail() const
{
    if (m_Key.empty()) {
        std::string sentence = m_Needed + " is needed, not " + m_Seen + ".";
        sentence[0] = char(std::toupper(static_cast<unsigned char>(sentence[0])));
        return sentence;
    }
    return "\"" + m_Key + "\" needs " + m_Needed + ", not " + m_Seen;
}

void ValueTypeError::Compose()
{
    const std::string named =
        (m_Subject.empty() || m_Key.empty() ? "" : m_Subject + ": ") + GetDetail();
    if (m_OwnMessage.empty())
        m_Message = named;
    else if (m_Key.empty())
        m_Message = m_OwnMessage;
    else // after a sentence on the same line, else on a line of its own
        m_Message = m_OwnMessage + (m_OwnMessage.back() == '.' ? " " : "\n") + named + ".";
}

std::string DescribeScriptValue(const LuaObject& value)
{
    if (value.IsNil())
        return "nil";
    if (value.IsBoolean())
        return value.GetBoolean() ? "the boolean true" : "the boolean false";
    if (value.IsNumber()) {
        char text[32];
        std::snprintf(text, sizeof text, "%.14g", value.GetNumber());
        return std::string("the number ") + text;
    }
    if (value.IsString()) {
        // Only what is shown is copied, however long the string.
        const std::string text(value.GetString(),
                               std::min<std::size_t>(value.GetStrLen(), kShownStringLength + 1));
        return "the string \"" + Utf8::Shortened(text, kShownStringLength) + "\"";
    }
    if (value.IsTable())
        return "a table";
    if (value.IsFunction())
        return "a function";
    if (value.IsLightUserData())
        return "a light user data value";
    return std::string("a ") + value.TypeName() + " value";
}
