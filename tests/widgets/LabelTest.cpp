// Labels: lines and expressions, wrapping, shrinking, layers and colours, properties.
#include "WidgetTestSupport.h"

#include "core/AppHost.h"
#include "core/ClassManager.h"
#include "display/Font.h"
#include "display/Image.h"
#include "geometry/Colors.h"
#include "lua/MakoLuaState.h"
#include "widgets/Label.h"

#include <memory>

using namespace widgettest;

namespace {

const char* const kFont = "DejaVuSans.ttf";

class LabelTest : public WidgetTest
{
protected:
    static Label* MakeLabel(const std::string& text, int size = 16)
    {
        return new Label(text, new Font(kFont, size, 0), HorizontalAlignment::Left);
    }
    static std::vector<std::string> Lines(Label& label, const std::string& text)
    {
        std::vector<std::string> lines;
        label.ProcessLines(text, lines);
        return lines;
    }
    Font m_Reference{kFont, 16, 0};
};

TEST_F(LabelTest, TextsShowTheirBarsAsWrittenWhereverTheyComeFrom)
{
    Run("function LabelTripWire() LabelTripped = (LabelTripped or 0) + 1 return 'ran' end");
    const std::string hostile = "a |LabelTripWire()| b || |nil..nil| |1";
    std::unique_ptr<Label> label(MakeLabel(""));
    label->SetText(hostile, true);
    EXPECT_EQ(std::vector<std::string>{hostile}, Lines(*label, label->GetText()));
    EXPECT_EQ(m_Reference.GetTextSize(hostile).x, label->GetWidth());
    label->SetText(Table("'|LabelTripWire()|'"), true);
    // A script's table, a label template and the text property all set literal text.
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
        Table("{class = 'Label', text = '|LabelTripWire()|\\n|(function() while true do end "
              "end)()|', font = {fontName = 'DejaVuSans.ttf', fontSize = 16}}")));
    auto* made = dynamic_cast<Label*>(object.get());
    ASSERT_NE(nullptr, made);
    EXPECT_EQ("|LabelTripWire()|\n|(function() while true do end end)()|", made->GetText());
    EXPECT_EQ(
        (std::vector<std::string>{"|LabelTripWire()|", "|(function() while true do end end)()|"}),
        Lines(*made, made->GetText()));
    made->ApplyProperty("text", Table("'|1\\n|'"));
    EXPECT_EQ((std::vector<std::string>{"|1", "|"}), Lines(*made, made->GetText()));
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("LabelTripped").IsNil());
}

TEST_F(LabelTest, ExpressionTextsEvaluateBetweenBarsAtEachRebuild)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    Run("score = 1234; greeting = 'hi'");
    label->SetExpressionText("", true);
    EXPECT_EQ(std::vector<std::string>{"Score: 1234"}, Lines(*label, "Score: |score|"));
    EXPECT_EQ(std::vector<std::string>{"a|b"}, Lines(*label, "a||b"));
    EXPECT_EQ(std::vector<std::string>{"2"}, Lines(*label, "|1+1|"));
    EXPECT_EQ(std::vector<std::string>{"x "}, Lines(*label, "x |abc"));  // unterminated
    EXPECT_EQ(std::vector<std::string>{"[]"}, Lines(*label, "[|nil|]")); // no text for nil
    EXPECT_EQ(std::vector<std::string>{"[]"}, Lines(*label, "[|{}|]"));  // nor for a table
    EXPECT_EQ((std::vector<std::string>{"hi", "", "b"}), Lines(*label, "|greeting|\n\nb"));
    // Expressions are evaluated at each rebuild, not when the text is set.
    label->SetExpressionText("Score: |score|", true);
    const int before = label->GetWidth();
    Run("score = 1234567890");
    EXPECT_EQ(before, label->GetWidth());
    label->UpdateImage();
    EXPECT_EQ(m_Reference.GetTextSize("Score: 1234567890").x, label->GetWidth());
    // A plain text set afterwards is literal again.
    label->SetText("Score: |score|", true);
    EXPECT_EQ(m_Reference.GetTextSize("Score: |score|").x, label->GetWidth());
}

// An expression that fails, is broken by a line end or never ends is shown as written and
// the label goes on; nothing is raised to the code that set it.
TEST_F(LabelTest, AFailingOrEndlessExpressionShowsAsWritten)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    label->SetExpressionText("", true);
    EXPECT_EQ(std::vector<std::string>{"<|nil..nil|>"}, Lines(*label, "<|nil..nil|>"));
    EXPECT_EQ(std::vector<std::string>{"|nosuch.field|"}, Lines(*label, "|nosuch.field|"));
    EXPECT_EQ(std::vector<std::string>{"|error('boom')|"}, Lines(*label, "|error('boom')|"));
    EXPECT_EQ((std::vector<std::string>{"|1 +", "1"}), Lines(*label, "|1 +\n1"));
    EXPECT_EQ((std::vector<std::string>{"|1", "2"}), Lines(*label, "|1\n|1+1|"));
    EXPECT_EQ(std::vector<std::string>{"|(function() while true do end end)()| ok"},
              Lines(*label, "|(function() while true do end end)()| ok"));
    EXPECT_EQ(std::vector<std::string>{"|string.rep('x', 2^30)|"},
              Lines(*label, "|string.rep('x', 2^30)|"));
    // The state is usable afterwards.
    EXPECT_EQ(std::vector<std::string>{"3"}, Lines(*label, "|1+2|"));
    Label built("|error('boom')|", new Font(kFont, 16, 0), Palette::Black,
                HorizontalAlignment::Left);
    EXPECT_EQ("|error('boom')|", built.GetText());
}

TEST_F(LabelTest, ImageStacksLinesWithSpacingAndOffset)
{
    const int lineHeight = m_Reference.GetTextSize(" ").y;
    std::unique_ptr<Label> label(MakeLabel(""));
    // Empty text is one line as high as a space.
    EXPECT_EQ(m_Reference.GetTextSize(" ").x, label->GetWidth());
    EXPECT_EQ(lineHeight, label->GetHeight());

    label->SetText("wide line\nab", true);
    EXPECT_EQ(m_Reference.GetTextSize("wide line").x, label->GetWidth());
    EXPECT_EQ(2 * lineHeight, label->GetHeight());

    label->SetText("a\n\nb", true);
    EXPECT_EQ(3 * lineHeight, label->GetHeight());

    label->SetLineSpacing(4);
    label->SetTextOffset(3, 2);
    label->SetText("a\nb", true);
    EXPECT_EQ(m_Reference.GetTextSize("a").x + 3, label->GetWidth());
    EXPECT_EQ(2 * lineHeight + 2, label->GetHeight());
    // The text's own colour is what the image shows.
    int alpha = 0;
    EXPECT_EQ(0x000000u, MostOpaqueColor(label->GetImage(), &alpha));
    EXPECT_GT(alpha, 200);
}

TEST_F(LabelTest, WrappingBreaksAtSpacesOutsideExpressions)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    label->WrapText(8, false);
    label->SetText("one two three four five six", true);
    EXPECT_EQ("one two three\nfour five\nsix", label->GetText());
    EXPECT_EQ(3 * m_Reference.GetTextSize(" ").y, label->GetHeight());

    label->WrapText(2, true);
    label->SetText("ab cd", true);
    EXPECT_EQ("ab\ncd", label->GetText());
    // Applying a limit again without a new text only stores it.
    label->WrapText(1, true);
    EXPECT_EQ("ab\ncd", label->GetText());
    EXPECT_EQ(1, label->GetWrapLimit());

    label->WrapText(0, true);
    label->SetText("one two three four", true);
    EXPECT_EQ("one two three four", label->GetText());

    // A space inside an expression never becomes a line break.
    Run("who = 'Ann'");
    label->WrapText(4, true);
    label->SetExpressionText("hello |who .. ' and ' .. who| again", true);
    EXPECT_EQ("hello\n|who .. ' and ' .. who|\nagain", label->GetText());
    EXPECT_EQ((std::vector<std::string>{"hello", "Ann and Ann", "again"}),
              Lines(*label, label->GetText()));
    // In a plain text bars are characters: the spaces between them break as any other.
    label->SetText("hello |who .. ' and ' .. who| again", true);
    EXPECT_EQ("hello\n|who\n..\n' and\n' ..\nwho|\nagain", label->GetText());
}

TEST_F(LabelTest, WidthLimitShrinksTheFontDownToSixPoints)
{
    std::unique_ptr<Label> label(MakeLabel("", 20));
    label->SetWidthLimit(m_Reference.GetTextSize("Bumperlux").x); // fits at 16 points
    label->SetText("Bumperlux", true);
    EXPECT_LE(label->GetFont()->GetPointSize(), 16);
    EXPECT_GE(label->GetFont()->GetPointSize(), 15);
    EXPECT_LE(label->GetWidth(), m_Reference.GetTextSize("Bumperlux").x);

    // Each new text starts again from the base size.
    label->SetText("Hi", true);
    EXPECT_EQ(20, label->GetFont()->GetPointSize());

    label->SetWidthLimit(1);
    label->SetText("far too long for one pixel", true);
    EXPECT_EQ(6, label->GetFont()->GetPointSize());
}

TEST_F(LabelTest, ABoxWrapsByPixelsAndShrinksTheFontToFitItsHeight)
{
    std::unique_ptr<Label> label(MakeLabel("", 16));
    const int box = m_Reference.GetTextSize("WWW WWW").x;
    label->SetWrapWidth(box, false);
    // Narrow letters share a line that wide ones cannot: breaks follow the drawn width.
    label->SetText("iii iii iii iii WWW WWW WWW WWW", true);
    EXPECT_EQ("iii iii iii iii\nWWW WWW\nWWW WWW", label->GetText());
    EXPECT_LE(label->GetWidth(), box);
    // A word wider than the box keeps a line of its own, whole.
    label->SetText("a WWWWWWWWWWWW b", true);
    EXPECT_EQ("a\nWWWWWWWWWWWW\nb", label->GetText());
    EXPECT_EQ(Label::kMinimumFitSize, label->GetFont()->GetPointSize());

    // With a height, the font shrinks until the wrapped lines fit it, and starts again
    // from its own size with each text.
    const int lineHeight = m_Reference.GetTextSize(" ").y;
    label->SetHeightLimit(2 * lineHeight, false);
    label->SetText("one two three four five six seven eight", true);
    EXPECT_LT(label->GetFont()->GetPointSize(), 16);
    EXPECT_LE(label->GetHeight(), 2 * lineHeight);
    EXPECT_LE(label->GetWidth(), box);
    label->SetText("one", true);
    EXPECT_EQ(16, label->GetFont()->GetPointSize());
    EXPECT_EQ("one", label->GetText());

    // Paragraphs stay apart; a box of 0 gives the text back as it was set.
    label->SetHeightLimit(0, false);
    label->SetText("iii\n\niii", true);
    EXPECT_EQ("iii\n\niii", label->GetText());
    label->SetText("iii iii iii iii iii iii", true);
    label->SetWrapWidth(0, true);
    EXPECT_EQ("iii iii iii iii iii iii", label->GetText());
    // The script names of the box.
    label->ApplyProperties(Table("{wrapWidth = 40, heightLimit = 30}"));
    EXPECT_EQ(40, label->GetWrapWidth());
    EXPECT_EQ(30, label->GetHeightLimit());
}

TEST_F(LabelTest, ShadowAndHighlightCopiesKeepTheTextColourOnTop)
{
    std::unique_ptr<Label> label(MakeLabel("Shadowed"));
    label->SetColor(Palette::White, false);
    label->SetShadowColor(Palette::Black);
    label->UpdateImage();
    Label* shadow = label->GetShadow();
    ASSERT_NE(nullptr, shadow);
    EXPECT_EQ(-1, shadow->GetX());
    EXPECT_EQ(-1, shadow->GetY());
    EXPECT_EQ(2, shadow->GetZOrder());
    EXPECT_EQ(0x000000u, MostOpaqueColor(label->GetImage()));  // the shadow layer
    EXPECT_EQ(0xFFFFFFu, MostOpaqueColor(shadow->GetImage())); // the text on top

    // Recolouring and disabling change the text, not the shadow.
    label->SetColor(Palette::Green, true);
    EXPECT_EQ(Palette::Green, shadow->GetTextColor());
    EXPECT_EQ(0x00FF00u, MostOpaqueColor(shadow->GetImage()));
    EXPECT_EQ(0x000000u, MostOpaqueColor(label->GetImage()));
    label->SetDisabled(true);
    EXPECT_EQ(Palette::Gray, shadow->GetTextColor());
    EXPECT_EQ(Palette::Gray, label->GetTextColor());
    label->SetDisabled(true);
    label->SetDisabled(false);
    EXPECT_EQ(Palette::Green, label->GetTextColor());
    EXPECT_EQ(Palette::Green, shadow->GetTextColor());

    // With a highlight too: highlight layer, text above, shadow colour below.
    label->SetHighlightColor(Palette::White);
    label->UpdateImage();
    Label* highlight = label->GetHighlight();
    ASSERT_NE(nullptr, highlight);
    EXPECT_EQ(1, highlight->GetX());
    EXPECT_EQ(0xFFFFFFu, MostOpaqueColor(label->GetImage()));
    EXPECT_EQ(Palette::Black, highlight->GetTextColor());
    EXPECT_EQ(Palette::Green, shadow->GetTextColor());

    // New texts reach the copies.
    label->SetText("Other", true);
    EXPECT_EQ("Other", shadow->GetText());
    EXPECT_EQ(label->GetWidth(), shadow->GetWidth());
}

TEST_F(LabelTest, ScriptPropertiesApplyInAnyOrder)
{
    Run("labelScore = 7");
    std::unique_ptr<Object> object(ClassManager::GetInstance()->InstantiateObject(
        Table("{class = 'Label', text = 'Points: 7', fgColor = 'Green', "
              "font = {fontName = 'DejaVuSans.ttf', fontSize = 16}, widthLimit = 1000, "
              "wrapLimit = 3, shadowColor = 'Black', textAlignment = 'Right'}")));
    auto* label = dynamic_cast<Label*>(object.get());
    ASSERT_NE(nullptr, label);
    EXPECT_EQ("Points:\n7", label->GetText());
    EXPECT_EQ(HorizontalAlignment::Right, label->GetLineAlignment());
    ASSERT_NE(nullptr, label->GetShadow()); // made by the rebuild after the text
    EXPECT_EQ(Palette::Green, label->GetShadow()->GetTextColor());
    EXPECT_EQ(m_Reference.GetTextSize("Points:").x, label->GetWidth());

    label->ApplyProperty("text", Table("function() return 42 end"));
    EXPECT_EQ("42", label->GetText());
    label->ApplyProperty("textAlignment", Table("'Sideways'"));
    EXPECT_EQ(HorizontalAlignment::Right, label->GetLineAlignment());
    LuaPlus::LuaObject text;
    label->RetrieveProperty(text, "text");
    EXPECT_EQ(std::string("42"), text.GetString());

    // Without a font nothing is rendered.
    Label bare;
    bare.SetText("nothing", true);
    EXPECT_EQ(nullptr, bare.GetImage());
}

// UTF-8 texts: an accented letter is one character to the wrap limit and one glyph in
// the image.
TEST_F(LabelTest, Utf8TextsWrapAndRenderByCharacter)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    label->WrapText(4, false);
    label->SetText("Zo\xC3\xAB Zo\xC3\xAB Zo\xC3\xAB", true);
    EXPECT_EQ("Zo\xC3\xAB Zo\xC3\xAB\nZo\xC3\xAB", label->GetText());
    label->WrapText(0, false);
    label->SetText("Zo\xC3\xAB", true);
    EXPECT_EQ(m_Reference.GetTextSize("Zo\xC3\xAB").x, label->GetWidth());
    EXPECT_LT(label->GetWidth(), m_Reference.GetTextSize("ZoA\xC2\xAB").x);
}

// A line wider than the widest image (a few screens) is cut at a character instead of
// failing, and the label says beforehand whether a line would be cut.
TEST_F(LabelTest, LinesTooWideForAnImageAreCut)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    const int cell = m_Reference.GetTextSize("\xC3\xA9").x;
    std::string line;
    while (m_Reference.GetTextSize(line + "\xC3\xA9").x <= Label::MaxImageWidth())
        line += "\xC3\xA9";
    EXPECT_TRUE(label->LineFits(line));
    EXPECT_FALSE(label->LineFits(line + "\xC3\xA9"));
    label->SetText("short\n" + line + std::string(40, 'W') + "\nend", true);
    EXPECT_EQ(m_Reference.GetTextSize(line).x, label->GetWidth());
    EXPECT_LE(label->GetWidth(), Label::MaxImageWidth());
    EXPECT_GT(label->GetWidth(), Label::MaxImageWidth() - cell);
    EXPECT_EQ(3 * m_Reference.GetTextSize(" ").y, label->GetHeight());

    // The text offset counts towards the width.
    label->SetTextOffset(100, 0);
    EXPECT_FALSE(label->LineFits(line));
    label->SetText(line, true);
    EXPECT_LE(label->GetWidth(), Label::MaxImageWidth());
}

// What a label renders is bounded by the screen: at the largest point size, many long
// lines make an image no larger than a few screens, whatever the text.
TEST_F(LabelTest, AnImageIsNeverLargerThanAFewScreens)
{
    ASSERT_NE(nullptr, GetAppHost());
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += std::string(200, 'W') + "\n";
    std::unique_ptr<Label> label(MakeLabel(text, Font::kMaxPointSize));
    EXPECT_LE(label->GetWidth(), Label::kScreensPerImage * GetAppHost()->GetWidth());
    EXPECT_LE(label->GetHeight(), Label::kScreensPerImage * GetAppHost()->GetHeight());
    EXPECT_GT(label->GetHeight(), 0);
}

// A line of megabytes (a damaged card's name) is measured and cut without the text engine
// copying all of it onto the stack.
TEST_F(LabelTest, ALineOfMegabytesIsCutLikeAnyLineTooWide)
{
    std::unique_ptr<Label> label(MakeLabel(""));
    const std::string huge(5 << 20, 'n');
    EXPECT_GT(m_Reference.GetTextSize(huge).x, Label::MaxImageWidth());
    label->SetText(huge, true);
    EXPECT_LE(label->GetWidth(), Label::MaxImageWidth());
    EXPECT_GT(label->GetWidth(), Label::MaxImageWidth() - m_Reference.GetTextSize("n").x);
    // A cut never splits a character.
    std::string accents;
    while (accents.size() < (5u << 20))
        accents += "\xC3\xA9";
    EXPECT_EQ(m_Reference.GetTextSize(std::string(accents, 0, 16384)).x,
              m_Reference.GetTextSize(accents + "\xC3").x);
}

} // namespace
