#pragma once
// A script or data value of the wrong type. It carries what was needed ("a number"), the
// value seen in plain words ("the string \"nine\"") and, once known, the key or property
// it was given for and the object (or table) that key belongs to. Its message is a
// sentence a script or level author can act on:
//
//   Brick "RedBrick": "strength" needs a number, not the string "nine"
//   A number is needed, not the string "nine".            (before the key is known)
//
// Where the engine has a message of its own for the failure (the script readers'
// "Object is not a number, but rather a string."), that message comes first, exactly, and
// the sentence above follows it once the key is known.
//
// It is an ApplyPropertyError, so code that catches those catches it too.
#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

#include <string>

class ValueTypeError : public ApplyPropertyError
{
public:
    ValueTypeError(const std::string& file, int line, const std::string& function,
                   const std::string& date, const std::string& time, const std::string& needed,
                   const std::string& seen, const std::string& ownMessage = std::string());

    // The same error naming the key and what it belongs to (`Brick "RedBrick"`, may be
    // empty). An error that already names a key is returned as it is: the innermost key
    // is the one the value was for.
    ValueTypeError ForKey(const std::string& subject, const std::string& key) const;

    const std::string& GetSubject() const MAKO_LIFETIMEBOUND { return m_Subject; }
    // The message without its subject: "\"strength\" needs a number, not the string
    // \"nine\"" (or the keyless sentence).
    std::string GetDetail() const;

private:
    void Compose();

    std::string m_OwnMessage;
    std::string m_Needed;
    std::string m_Seen;
    std::string m_Key;
    std::string m_Subject;
};

// A script value in plain words: `the string "nine"`, `the number 3`, `the boolean true`,
// `nil`, `a table`, `a function`. Long strings are cut.
std::string DescribeScriptValue(const LuaPlus::LuaObject& value);

// Raises ValueTypeError at the current source location: `needed` is what the value had to
// be ("a number"), `value` the script value seen.
#define MAKO_THROW_VALUE_TYPE(needed, value)                                                       \
    throw ValueTypeError(MAKO_WHERE, (needed), DescribeScriptValue(value))
// The same with the engine's own message for the failure, which the error's text begins with.
#define MAKO_THROW_VALUE_TYPE_SAYING(message, needed, value)                                       \
    throw ValueTypeError(MAKO_WHERE, (needed), DescribeScriptValue(value), (message))
