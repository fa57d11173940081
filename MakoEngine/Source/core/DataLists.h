#pragma once
// Lists and objects read from data (level tables, the object tables in them), checked by
// kind where they are used. An element of a list that is not what the list holds (a word,
// a number, a boolean where tables are wanted; a table naming no class, or a class of
// another kind, where an object of one kind is wanted) is reported through DataReport,
// naming its key path (`factories[2]: the number 5 is not a table; it is left out`), and
// left out; the other elements stand. Nothing is made of an element before its class is
// known to be of the kind wanted.
//
// Main thread only.
#include "luaplus/LuaPlus.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class Class;
class Object;

// The class an object made from the table would have, as ClassManager::InstantiateObject
// finds it (its own `class`, else the last one its resources name); null when the value is
// not a table, names no class, or names a class or resource that does not exist.
const Class* FindClassToMake(const LuaPlus::LuaObject& table);

// The elements of the list that are tables, with their keys, in key order; every other
// element is reported (subject: what the list belongs to, as DataReport::Report takes it;
// where: the list's key path) and left out. A list that is not a table holds none.
std::vector<std::pair<LuaPlus::LuaObject, LuaPlus::LuaObject>>
DataListTables(const LuaPlus::LuaObject& list, const std::string& subject,
               const std::string& where);

// Whether an object made from the table would be of kind (its class derives from kind and
// can be made); otherwise reports `<where>: <what it is> is no "<kind>"; it is left out`
// (without `<where>: ` when where is empty: the open place names it) and is false.
bool IsDataTableOfKind(const LuaPlus::LuaObject& table, const char* kind,
                       const std::string& subject, const std::string& where);

// A new object (the caller owns it) made from the table when its class derives from kind
// and can be made; null, reported as IsDataTableOfKind says, otherwise. What making the
// object raises passes on.
Object* MakeDataObjectOfKind(const LuaPlus::LuaObject& table, const char* kind,
                             const std::string& subject, const std::string& where);

// The same, typed: T must be the C++ class of kind.
template <typename T>
std::unique_ptr<T> MakeDataObject(const LuaPlus::LuaObject& table, const char* kind,
                                  const std::string& subject, const std::string& where)
{
    std::unique_ptr<Object> made(MakeDataObjectOfKind(table, kind, subject, where));
    return std::unique_ptr<T>(made ? static_cast<T*>(made.release()) : nullptr);
}
