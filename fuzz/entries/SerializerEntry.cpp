// Serialiser text read as a data file (the way the configuration and the cards are read),
// written back by the serialiser and read again.
#include "FuzzEntries.h"
#include "FuzzHost.h"

#include "core/Exception.h"
#include "core/UserDataFile.h"
#include "lua/LuaSerializer.h"

namespace fuzz {

namespace {

// The loader of the data file: keeps the first value it is given in its upvalue's field
// "value" (any of the file forms' loader names calls it).
int CollectValue(lua_State* L)
{
    lua_getfield(L, lua_upvalueindex(1), "value");
    const bool taken = !lua_isnil(L, -1);
    lua_pop(L, 1);
    if (!taken) {
        lua_settop(L, 1);
        lua_setfield(L, lua_upvalueindex(1), "value");
    }
    return 0;
}

// Runs the data file at path; the value it handed its loader (nil when none), or false
// in ok when the file failed.
LuaPlus::LuaObject ReadValue(LuaPlus::LuaState* state, const std::string& path, bool& ok)
{
    lua_State* L = state->GetCState();
    LuaPlus::LuaObject box;
    box.AssignNewTable(state);
    box.Push(L);
    lua_pushcclosure(L, CollectValue, 1);
    LuaPlus::LuaObject loader(state, -1);
    lua_pop(L, 1);
    LuaPlus::LuaObject environment;
    environment.AssignNewTable(state);
    for (const char* name : {"Data", "LoadConfig", "Player", "Metadata"})
        environment.SetObject(name, loader);
    std::string error;
    ok = RunUserDataFile(state, path, environment, "data file " + path, error) == 0;
    return box["value"];
}

// The sorted text of value, or false in ok when the serialiser refused it.
std::string Write(const LuaPlus::LuaObject& value, bool& ok)
{
    std::string text;
    ok = true;
    try {
        Serialize(value, "", SERIALIZE_SORTED, text);
    } catch (const Exception&) {
        ok = false;
    }
    return text;
}

// Writes "Data(" + text + ")" to the scratch file and reads it back in a fresh state; the
// value's text again. Fails when the game's own text does not read back.
std::string Reread(const std::string& text, const std::string& path, ValueFacts& facts)
{
    const std::string file = "Data(" + text + ")";
    WriteScratchFile(path, reinterpret_cast<const uint8_t*>(file.data()), file.size());
    OwnedState state;
    bool ok = false;
    LuaPlus::LuaObject value = ReadValue(state.Get(), path, ok);
    if (!ok)
        Fail("the serialiser's text does not read back:\n" + file);
    facts = InspectValue(value);
    std::string again = Write(value, ok);
    if (!ok)
        Fail("a value read back from the serialiser's text cannot be written:\n" + file);
    return again;
}

} // namespace

void RunSerializer(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    const std::string path = ScratchFolder() + "data.txt";
    WriteScratchFile(path, data, size);
    std::string first;
    ValueFacts facts;
    {
        OwnedState state;
        bool ok = false;
        LuaPlus::LuaObject value = ReadValue(state.Get(), path, ok);
        facts = InspectValue(value);
        if (facts.visits > 100000)
            return;
        first = Write(value, ok);
        if (!ok)
            return; // a table that holds itself: the serialiser refuses it
        if (facts.cycle)
            Fail("the serialiser wrote a table that holds itself:\n" + first);
        // The other forms must not fail on what the sorted form took.
        std::string bare;
        Serialize(value, "", SERIALIZE_BARE, bare);
        std::string plain;
        SerializeToString(plain, value, 0, state.Get());
    }
    const std::string copy = ScratchFolder() + "data-copy.txt";
    ValueFacts secondFacts;
    const std::string second = Reread(first, copy, secondFacts);
    if (facts.Repeatable() && second != first)
        Fail("the serialiser's text changed on a round trip:\n" + first + "\n---- became ----\n" +
             second);
    if (secondFacts.Repeatable()) {
        ValueFacts thirdFacts;
        const std::string third = Reread(second, copy, thirdFacts);
        if (third != second)
            Fail("the serialiser's text changed on a second round trip:\n" + second +
                 "\n---- became ----\n" + third);
    }
}

} // namespace fuzz
