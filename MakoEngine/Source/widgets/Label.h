#pragma once
// Label: the text actor of the whole system (captions, titles, scores, key tips, grid
// headers, the text of a text box). It renders one or more lines of text in a TrueType
// font into one image: lines aligned within the widest one, stacked with a line spacing,
// moved by a text offset, with optional shadow and highlight copies drawn around it.
// The font may shrink until the text fits a width limit, and long texts may wrap at
// spaces after a number of characters. A text may also be fitted to a box: it wraps at
// spaces so that every line fits a width in pixels, and when a height is given too the
// font shrinks (never below kMinimumFitSize) until the wrapped lines fit it. Words are
// never cut: a single word wider than the box keeps a line of its own.
//
// A text is shown as written: bars, quotes and everything else are characters. Only a text
// the game's own code sets through SetExpressionText embeds Lua expressions between
// vertical bars: "Score: |score|" shows the global score; "||" shows one bar. Its
// expressions are evaluated in the game's script state, each under a small budget, each
// time the image is rebuilt (on SetText, SetColor or SetFont with refresh, SetDisabled and
// the properties that rebuild) and at no other time; one that does not compile, raises,
// is broken by a line end or outruns its budget is logged and shown as written. The
// `text` property, label templates and SetText never evaluate anything, so no text read
// from a file (a card, a level, the configuration, a pack) runs through a label. A label
// without a font renders nothing and keeps its previous image.
//
// Layers: the label's own image is drawn in the highlight colour when one is set, else in
// the shadow colour when one is set, else in the text colour; the shadow copy (a child at
// (-1, -1), above) always carries the text colour and the highlight copy (a child at
// (1, 1), below) carries the shadow colour when there is one, else the text colour. So
// SetColor and SetDisabled always recolour the text itself. Both copies lay their lines out
// as the label does (alignment, text offset, line spacing), so they stay in register.
//
// Texts are UTF-8; wrap limits count characters. What a label renders is bounded by what the
// screen can show: a line too wide for an image (wider than MaxImageWidth() with the text
// offset) is cut at the last whole character that fits, and lines that would reach below
// MaxImageHeight() are left out, so a label always draws and its image never holds more
// than a few screens' pixels, whatever its text and font. An image that still cannot be
// given memory raises ImageException (the data's error, not the program's).
//
// Scripts create labels as class "Label". Main thread only.
#include "geometry/Color.h"
#include "geometry/Point.h"
#include "scene/Actor.h"
#include "widgets/HorizontalAlignment.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Font;
class Image;

class Label : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    // The largest label image: SDL makes no surface 16384 pixels wide, and line positions
    // are 16-bit.
    static constexpr int kMaxImageWidth = 16383;
    static constexpr int kMaxImageHeight = 32767;
    // Within those, a label's image is at most this many screens wide and tall.
    static constexpr int kScreensPerImage = 4;
    // The bounds for the screen the host has now (the constants above without a host).
    static int MaxImageWidth();
    static int MaxImageHeight();
    // The smallest size a text fitted to a box is drawn at.
    static constexpr int kMinimumFitSize = 9;

    // Empty text, no font, black, centred lines; builds no image.
    Label();
    // Takes ownership of font (may be null); sets the text and builds the image.
    Label(const std::string& text, Font* font, HorizontalAlignment alignment);
    Label(const std::string& text, Font* font, const Color& color, HorizontalAlignment alignment);
    ~Label() override;

    // A default label with the named label-template resource applied (and the text set,
    // as written).
    static Label* CreateFromResource(const std::string& name);
    static Label* CreateFromResource(const std::string& name, const std::string& text);

    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    // Sets the text, shown as written: shrinks the font to the width limit when one is set,
    // wraps it at the wrap limit when one is set, passes it to the copies, rebuilds when
    // refresh is set and realigns the actor.
    void SetText(const std::string& text, bool refresh);
    // The same with a script value, which must be a string or a number.
    void SetText(const LuaPlus::LuaObject& object, bool refresh);
    // The same for a text of the game's own code whose expressions between bars are
    // evaluated at each rebuild (see above). Never give it a text read from a file.
    void SetExpressionText(const std::string& text, bool refresh);
    // Whether the text was set through SetExpressionText.
    bool HasExpressions() const { return m_Expressions; }
    // The text as set (after wrapping), expressions not evaluated.
    std::string GetText() const { return m_Text; }

    void SetColor(const Color& color, bool refresh);
    // The text colour (grey while disabled).
    const Color& GetTextColor() const MAKO_LIFETIMEBOUND { return m_TextColor; }
    // Takes ownership of font (the old one is deleted); the copies are made anew with the
    // new font at the next rebuild.
    void SetFont(Font* font, bool refresh);
    Font* GetFont() const MAKO_LIFETIMEBOUND { return m_Font.get(); }

    // Disabled shows the text in Gray; enabling restores the colour it had. Rebuilds.
    void SetDisabled(bool disabled);
    bool IsDisabled() const { return m_DisabledSavedColor.has_value(); }
    // Setting a colour drops the existing copy; the next rebuild makes a new one.
    void SetShadowColor(const Color& color);
    void SetHighlightColor(const Color& color);

    // Stores the limit and, unless the text was wrapped already, breaks it at spaces after
    // about `limit` characters (0: never). Spaces inside an expression text's expressions
    // never break.
    void WrapText(int limit, bool refresh);
    // Fits later texts to a box of that width in pixels (0: no box) and, unless 0, that
    // height, and fits the current text again.
    void SetWrapWidth(int pixels, bool refresh);
    void SetHeightLimit(int pixels, bool refresh);
    int GetWrapWidth() const { return m_WrapWidth; }
    int GetHeightLimit() const { return m_HeightLimit; }
    // Rebuilds the image (only with a font).
    void UpdateImage();

    // Splits the text into lines, in an expression text with its expressions evaluated;
    // `lines` must be empty.
    void ProcessLines(const std::string& text, std::vector<std::string>& lines);
    // A new image of the lines in the label's own layer colour (the caller owns it).
    Image* RenderLines(const std::vector<std::string>& lines);
    // Whether one line of plain text (no expressions) fits the label's image whole, so
    // that it would not be cut. False without a font.
    bool LineFits(const std::string& line) const;

    void SetLineSpacing(int spacing) { m_LineSpacing = spacing; }
    int GetLineSpacing() const { return m_LineSpacing; }
    void SetWidthLimit(int limit) { m_WidthLimit = limit; }
    int GetWidthLimit() const { return m_WidthLimit; }
    void SetTextOffset(int x, int y) { m_TextOffset = Point<int>(x, y); }
    void SetLineAlignment(HorizontalAlignment alignment) { m_LineAlignment = alignment; }
    HorizontalAlignment GetLineAlignment() const { return m_LineAlignment; }
    int GetWrapLimit() const { return m_WrapLimit; }
    Label* GetShadow() const { return m_Shadow; }
    Label* GetHighlight() const { return m_Highlight; }

    static void RegisterProperties(Class& labelClass);

private:
    void SetTextAs(const std::string& text, bool expressions, bool refresh);
    int MaxLineWidth() const;
    // The line, cut to the widest image when it is wider; size is what is drawn.
    std::string CutToWidth(const std::string& line, Point<int>& size) const;
    void ShrinkToWidthLimit(const std::string& text);
    // The fonts of the label and its copies, all set to the size.
    void SetPointSizes(int size);
    // The text broken at spaces so that each line fits the wrap width in the current font.
    std::string WrapToWidth(const std::string& text) const;
    // The height of the text's lines as drawn in the current font.
    int LinesHeight(const std::string& text) const;
    // The text wrapped to the box, the font shrunk until it fits the height limit.
    std::string FitToBox(const std::string& text);
    void CreateShadow();
    void CreateHighlight();
    Label* CreateCopy(const Color& color, int offset, int zorder);
    // The colour of each layer, from the text colour and the optional colours.
    Color OwnLayerColor() const;
    Color HighlightCopyColor() const;
    // Brings the copies' colours and line layout up to date (rebuilding a copy that changed).
    void SyncCopies();
    void SyncCopy(Label* copy, const Color& color);

    // Named apart from the actor's own placement (m_Alignment) and fill colour (m_Color).
    HorizontalAlignment m_LineAlignment = HorizontalAlignment::Center;
    std::unique_ptr<Font> m_Font;
    Color m_TextColor;
    std::string m_Text;
    // Whether m_Text came through SetExpressionText.
    bool m_Expressions = false;
    int m_LineSpacing = 0;
    std::optional<Color> m_DisabledSavedColor;
    std::optional<Color> m_ShadowColor;
    Label* m_Shadow = nullptr;
    std::optional<Color> m_HighlightColor;
    Label* m_Highlight = nullptr;
    int m_WidthLimit = 0;
    int m_BaseFontSize = 0;
    Point<int> m_TextOffset{0, 0};
    int m_WrapLimit = 0;
    bool m_Wrapped = false;
    int m_WrapWidth = 0;
    int m_HeightLimit = 0;
    // The text as last given, before a box broke it into lines.
    std::string m_SourceText;
};
