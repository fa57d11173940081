// Metadata text: whatever names and values a recipe uses, the engine's Lua reads back
// exactly what was meant.
#include "kit/LuaText.h"
#include "Decoders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace assetgen;
using assetgentest::LoadMetadata;

TEST(LuaText, MetadataFilesReadBackInLua)
{
    LuaValue sheet = LuaValue::Table();
    sheet.Set("width", 30).Set("numFrames", 7).Set("height", 20).Set("gap_y", 5);
    LuaValue odd = LuaValue::Table();
    odd.Set("colorKey", true).Set("noAlpha", false).Set("volume", 0.1).Set("end", "a\"b\\c\nd");
    odd.Set("2x", LuaValue::Array({1, -2.5, "three"}));
    LuaValue nested = LuaValue::Table();
    nested.Set("parts", LuaValue::Table().Set("Main", LuaValue::Array({3, 4})));

    const std::string text = MetadataFileText(
        {{"Sheet.png", sheet}, {"we\"ird\\name\n.png", odd}, {"Song.mid", nested}});
    const auto loaded = LoadMetadata(text);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded.at("Sheet.png"), "{gap_y=5,height=20,numFrames=7,width=30}");
    EXPECT_EQ(loaded.at("we\"ird\\name\n.png"),
              "{2x={[1]=1,[2]=-2.5,[3]=\"three\"},colorKey=true,end=\"a\\\"b\\\\c\\\nd\","
              "noAlpha=false,volume=0.1}");
    EXPECT_EQ(loaded.at("Song.mid"), "{parts={Main={[1]=3,[2]=4}}}");
    // Files appear in name order, whatever order the recipes gave.
    EXPECT_LT(text.find("Sheet.png"), text.find("Song.mid"));
}

TEST(LuaText, FieldsAreSortedReplacedAndRemoved)
{
    LuaValue t = LuaValue::Table();
    t.Set("b", 1).Set("a", 2).Set("b", 3).Set("c", 4).Set("c", LuaValue());
    EXPECT_EQ(t.ToLua(), "{ a = 2, b = 3 }");
    EXPECT_EQ(LuaValue(1e-7).ToLua(), "1e-07");
    EXPECT_EQ(LuaValue(0.1).ToLua(), "0.1");
    EXPECT_THROW(LuaValue(std::nan("")).ToLua(), std::domain_error);
    EXPECT_THROW(LuaValue(std::numeric_limits<double>::infinity()).ToLua(), std::domain_error);
    LuaValue s("text");
    EXPECT_THROW(s.Set("k", 1), std::logic_error);
    EXPECT_EQ(LuaKey("and"), "[\"and\"]");
    EXPECT_EQ(LuaKey("_ok1"), "_ok1");
}
