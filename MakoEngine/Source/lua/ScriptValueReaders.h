#pragma once
// Reading native values out of script values, for property conversion and the class
// registry. Each reader accepts a value of its own kind; a function value is called with
// no arguments once and its result is read instead, so a script may supply any value
// lazily. Anything else raises a ValueTypeError whose text is "Object is not a boolean, but
// rather a table." (the kind needed, the script type seen); a property setter adds a
// sentence naming its key, its object and the value.
#include "luaplus/LuaPlus.h"

#include <string>

// Whether value is a script function that the game's own scripts did not make: one whose
// environment is not the state's globals, as every data file's is (lua/DataScript). Such a
// function is never called by the engine: it would run outside the file's budget.
bool IsFunctionOfData(const LuaPlus::LuaObject& value);
// obj itself when it is not a function; else the first result of calling it with no
// arguments. A script error in the call is raised as a ScriptError with the script's text; a
// function of data (IsFunctionOfData) is not called but raises a ValueTypeError "Object is a
// function a data file made; ...", and the readers below refuse it as "Object is not a
// number, but rather a function a data file made.".
LuaPlus::LuaObject ResolveScriptValue(const LuaPlus::LuaObject& obj);
// A table's identity (its address in the state): walks of data use it to meet each table
// once, however often it is shared or holds itself.
const void* TableIdentity(const LuaPlus::LuaObject& table);
// A number, truncated toward zero.
int ReadIntegerFromObject(const LuaPlus::LuaObject& obj);
// A number.
double ReadNumberFromObject(const LuaPlus::LuaObject& obj);
// The address held by a light user data.
void* ReadPointerFromObject(const LuaPlus::LuaObject& obj);
// A string (numbers are not taken).
std::string ReadStringFromObject(const LuaPlus::LuaObject& obj);
// A boolean (nil is not taken).
bool ReadBooleanFromObject(const LuaPlus::LuaObject& obj);
