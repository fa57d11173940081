// The Lua text form of persistent data: exact layout, quoting, key order, and that every
// text written reads back as the value it came from.
#include "core/Exception.h"
#include "lua/LuaSerializer.h"
#include "lua/MakoLuaState.h"
#include "support/TempHome.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <string>

using LuaPlus::LuaObject;

class SerializerTest : public bbtest::LuaFixture
{
protected:
    // The value of a script expression.
    LuaObject Eval(const std::string& expression)
    {
        MakoLuaState::LoadString(State(), "return " + expression, 0, 1);
        LuaObject value(State(), -1);
        State()->Pop();
        return value;
    }

    std::string Text(const std::string& expression)
    {
        std::string out;
        SerializeToString(out, Eval(expression), SERIALIZE_SORTED, State());
        return out;
    }

    // The text of the expression run back through Lua and written again must not change;
    // returns the first text.
    std::string RoundTrip(const std::string& expression)
    {
        std::string first = Text(expression);
        std::string second = Text(first);
        EXPECT_EQ(first, second);
        return first;
    }

    std::string FailureMessage(const std::string& expression)
    {
        try {
            Text(expression);
        } catch (const Exception& e) {
            return e.GetMessage();
        }
        ADD_FAILURE() << "no failure for " << expression;
        return "";
    }
};

TEST_F(SerializerTest, WritesTheSortedNestedLayout)
{
    EXPECT_EQ("{\n"
              "    full_screen = false,\n"
              "    music_volume = 50,\n"
              "    Name = \"a\\nb\",\n"
              "    [1] = {\n"
              "        x = 1,\n"
              "    },\n"
              "    [2] = 7,\n"
              "}\n",
              RoundTrip("{ music_volume = 50, full_screen = false, Name = 'a\\nb', [2] = 7,"
                        " [1] = { x = 1 } }"));

    EXPECT_EQ("{\n}\n", RoundTrip("{}"));
    EXPECT_EQ("{\n    e = {\n    },\n}\n", RoundTrip("{ e = {} }"));
    EXPECT_EQ("{\n    [true] = 1,\n    a = 2,\n    [1] = 3,\n}\n",
              RoundTrip("{ a = 2, 3, [true] = 1 }"));
    // Scalars at the top level, as the log writes them.
    EXPECT_EQ("12", Text("12"));
    EXPECT_EQ("true", Text("true"));
    EXPECT_EQ("nil", Text("nil"));
}

TEST_F(SerializerTest, QuotesTextsSoTheyReadBackUnchanged)
{
    const char* tricky = "'He said \"hi\\\\there\"\\n\\r\\0001 end'";
    EXPECT_EQ("{\n    name = \"He said \\\"hi\\\\there\\\"\\n\\r\\0001 end\",\n}\n",
              RoundTrip(std::string("{ name = ") + tricky + " }"));

    Run(std::string("original = ") + tricky);
    Run("copy = (loadstring('return ' .. SerializeToString({ v = original })))().v");
    EXPECT_TRUE(Eval("original == copy").GetBoolean());

    // Bytes above 126 and other control characters are valid inside a literal.
    RoundTrip("{ s = 'caf\\195\\169\\t\\1' }");

    // Without quotes a line feed is still written as backslash and n.
    std::string bare;
    Serialize(Eval("'two\\nlines'"), "", SERIALIZE_BARE, bare);
    EXPECT_EQ("two\\nlines", bare);
}

TEST_F(SerializerTest, BracketsEveryKeyThatIsNotAPlainName)
{
    EXPECT_EQ("{\n"
              "    [\"\"] = 1,\n"
              "    [\"1abc\"] = 2,\n"
              "    _x1 = 9,\n"
              "    [\"a b\"] = 3,\n"
              "    [\"a.b\"] = 4,\n"
              "    abc = 5,\n"
              "    [\"end\"] = 6,\n"
              "    [\"q\\\"k\"] = 7,\n"
              "    [\"x-y\"] = 8,\n"
              "}\n",
              RoundTrip("{ ['end'] = 6, ['a.b'] = 4, ['x-y'] = 8, abc = 5, _x1 = 9,"
                        " ['1abc'] = 2, ['a b'] = 3, [''] = 1, ['q\"k'] = 7 }"));
}

TEST_F(SerializerTest, OrdersKeysRepeatablyIgnoringCase)
{
    EXPECT_EQ("{\n    A = 1,\n    a = 2,\n    B = 3,\n    b = 4,\n    [-1] = 5,\n    [0.5] = 6,"
              "\n    [10] = 7,\n}\n",
              RoundTrip("{ b = 4, [10] = 7, B = 3, a = 2, [0.5] = 6, A = 1, [-1] = 5 }"));
}

TEST_F(SerializerTest, WritesNumbersAsLuaDoes)
{
    EXPECT_EQ("{\n    [1] = 0.1,\n    [2] = 1e+20,\n    [3] = 1e-07,\n    [4] = -3,\n"
              "    [5] = 3.1415926535898,\n    [6] = 1/0,\n    [7] = -1/0,\n}\n",
              RoundTrip("{ 0.1, 1e20, 1e-7, -3, math.pi, math.huge, -math.huge }"));
    // Negative zero reads back as the constant 0 when both stand in one file: it is 0.
    EXPECT_EQ("{\n    [1] = 0,\n    [2] = 0,\n}\n",
              RoundTrip("{ (function() local z = 0 return -z end)(), 0 }"));
}

TEST_F(SerializerTest, NumberKeysKeepTheDigitsThatTellThemApart)
{
    // Values keep Lua's 14 digits; keys that only 17 digits tell apart get them, so a
    // table read back from its text has as many entries as the table written.
    const std::string text = RoundTrip("{ [1/3] = 1, [1/3 + 2^-54] = 2, [0.5] = 3, [2^53] = 1/3 }");
    EXPECT_EQ("{\n    [0.33333333333333331] = 1,\n    [0.33333333333333337] = 2,\n"
              "    [0.5] = 3,\n    [9007199254740992] = 0.33333333333333,\n}\n",
              text);
    Run("copy = " + text);
    EXPECT_EQ(4, Eval("(function() local n = 0 for _ in pairs(copy) do n = n + 1 end "
                      "return n end)()")
                     .GetInteger());
}

TEST_F(SerializerTest, SuppressedTablesAndFunctionsVanishOnReadingBack)
{
    std::string text = Text("{ a = { Do_Not_Serialize = true, x = 1 }, b = 2,"
                            " f = print, [print] = 3 }");
    EXPECT_EQ("{\n    a = nil,    b = 2,\n    f = nil,\n}\n", text);
    Run("back = " + text);
    EXPECT_TRUE(Eval("back.a == nil and back.f == nil and back.b == 2").GetBoolean());

    EXPECT_EQ("nil", Text("{ Do_Not_Serialize = 1 }"));
}

TEST_F(SerializerTest, RefusesValuesLuaCannotReadBack)
{
    Run("co = coroutine.create(function() end)");
    EXPECT_EQ("Cannot serialize a LuaObject of type, \"thread\". Only numbers, strings, booleans "
              "and tables can be saved.",
              FailureMessage("{ c = co }"));
    Run("loop = { inner = {} } loop.inner.back = loop");
    EXPECT_NE(std::string::npos,
              FailureMessage("loop").find("Cannot serialize a table that contains itself."));
    // The same table twice (not inside itself) is fine.
    Run("shared = { 1 }");
    RoundTrip("{ a = shared, b = shared }");
    // Nesting Lua could not read back is refused, however deep it goes, and the deepest
    // nesting written reads back.
    Run("deep = {} for i = 1, 100000 do deep = { deep } end");
    EXPECT_NE(std::string::npos,
              FailureMessage("deep").find("Cannot serialize tables nested more than 100 deep."));
    Run("limit = {} for i = 2, 100 do limit = { limit } end");
    Run("copy = " + RoundTrip("limit"));
    EXPECT_TRUE(Eval("copy[1][1][1]").IsTable());
}

TEST_F(SerializerTest, FileFormReplacesTheFileWholeOrNotAtAll)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/Player1.card";
    Run("function LoadCard(t) card = t end");
    Run("Serialize({ name = 'Ann \"the\" \\\\ Ace', score = 1200 }, '" + path + "', 'LoadCard ')");
    EXPECT_EQ("LoadCard {\n    name = \"Ann \\\"the\\\" \\\\ Ace\",\n    score = 1200,\n}\n",
              bbtest::ReadFile(path));
    Run("dofile('" + path + "')");
    EXPECT_EQ("Ann \"the\" \\ Ace", Eval("card.name").ToString());

    // A value that cannot be written leaves the old file, and later saves still work.
    EXPECT_THROW(
        Run("Serialize({ bad = coroutine.create(function() end) }, '" + path + "', 'LoadCard ')"),
        Exception);
    EXPECT_EQ(1200,
              Eval("(function() dofile('" + path + "') return card.score end)()").GetNumber());
    Run("Serialize({ score = 5 }, '" + path + "', function() return 'LoadCard ' end)");
    EXPECT_EQ("LoadCard {\n    score = 5,\n}\n", bbtest::ReadFile(path));

    // A folder that does not exist is a clear failure, not a silent success.
    EXPECT_THROW(
        Serialize(Eval("{}"), home.Path() + "/missing/x.card", "", SERIALIZE_SORTED, State()),
        Exception);
}

// A player's name with accents is saved as its UTF-8 bytes, as value and as key, and
// reads back byte for byte.
TEST_F(SerializerTest, Utf8TextsAreSavedAndLoadedAsTheirBytes)
{
    bbtest::TempHome home;
    const std::string path = home.Path() + "/Player1.card";
    const std::string name = "Zo\xC3\xAB";
    Run("function LoadCard(t) card = t end");
    Run("Serialize({ name = '" + name + "', ['" + name + "'] = '\xC3\xBC\xE2\x82\xAC' }, '" + path +
        "', 'LoadCard ')");
    EXPECT_EQ("LoadCard {\n    name = \"" + name + "\",\n    [\"" + name +
                  "\"] = \"\xC3\xBC\xE2\x82\xAC\",\n}\n",
              bbtest::ReadFile(path));
    Run("card = nil dofile('" + path + "')");
    EXPECT_EQ(name, Eval("card.name").ToString());
    EXPECT_EQ("\xC3\xBC\xE2\x82\xAC", Eval("card['" + name + "']").ToString());
}

TEST_F(SerializerTest, EmptyFileNameWritesToTheScriptOutput)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/out.txt";
    Run("OpenOutputFile('" + path + "') Serialize({ x = 1 }) io.write('!') CloseOutputFile()");
    EXPECT_EQ("{\n    x = 1,\n}\n!", bbtest::ReadFile(path));
}

TEST_F(SerializerTest, OnOpenPartIsATextOrWhatAFunctionGives)
{
    bbtest::TempHome home;
    std::string path = home.Path() + "/out.txt";
    auto written = [&](const std::string& onOpen) {
        Run("OpenOutputFile('" + path + "') Serialize(1, '', " + onOpen + ") CloseOutputFile()");
        return bbtest::ReadFile(path);
    };
    EXPECT_EQ("Load 1", written("'Load '"));
    EXPECT_EQ("421", written("function() return 42 end"));
    EXPECT_EQ("1", written("function() end"));
    EXPECT_EQ("1", written("7")); // a number is not an on-open text
    EXPECT_EQ("1", written("{}"));
}

TEST_F(SerializerTest, LoadRunsAScriptResource)
{
    AddScript("Bricks.lua", "loadedBricks = 3");
    Run("Load('Bricks.lua')");
    EXPECT_EQ(3, GlobalNumber("loadedBricks"));
    EXPECT_THROW(Run("Load('Missing.lua')"), Exception);
}
