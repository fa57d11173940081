#include "widgets/Label.h"

#include "core/AppHost.h"
#include "core/Class.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PropertyAccessor.h"
#include "core/Utf8.h"
#include "display/Font.h"
#include "display/Image.h"
#include "display/SurfaceHandle.h"
#include "geometry/Colors.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptBudget.h"
#include "lua/ScriptValueReaders.h"
#include "resources/MemoryBudget.h"
#include "widgets/WidgetProperties.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>
#include <optional>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Label, "Label", "Actor", &Label::RegisterProperties,
                     &InstantiateObjectOfClass<Label>);

namespace {

// Fonts never shrink below this size.
const int kMinimumShrinkSize = 7;

// What one expression of a label may spend: a few of them are evaluated at each rebuild,
// so each must end at once.
// An expression is a short look-up: a tenth of a data file's budget is far more than one needs.
const ScriptLimits kExpressionLimits = {1000000, std::size_t(16) << 20, std::size_t(64) << 20,
                                        0.25};

// Runs "return <expression>" in the engine's script state under a budget: the first
// result in Lua's string form, or "" when there is none or it is neither a string nor a
// number. Nothing when the expression does not compile, raises, or outruns its budget;
// that is logged.
std::optional<std::string> EvaluateExpression(const std::string& expression)
{
    lua_State* L = GetGlobalLuaState()->GetCState();
    const int top = lua_gettop(L);
    const std::string chunk = "return " + expression;
    std::optional<std::string> result;
    {
        ScriptBudget budget(L, kExpressionLimits);
        if (luaL_loadbuffer(L, chunk.data(), chunk.size(), "=label expression") == 0 &&
            lua_pcall(L, 0, 1, 0) == 0) {
            result.emplace();
            const int type = lua_type(L, -1);
            if (type == LUA_TSTRING || type == LUA_TNUMBER) {
                std::size_t length = 0;
                const char* text = lua_tolstring(L, -1, &length);
                result->assign(text, length);
            }
        } else {
            const char* message = lua_isstring(L, -1) ? lua_tostring(L, -1) : "no message";
            Log("A label's expression |%s| is shown as written: %s\n", expression.c_str(),
                budget.IsSpent() ? ("it " + budget.GetReason()).c_str() : message);
        }
    }
    lua_settop(L, top);
    return result;
}

SDL_Color ToSDLColor(const Color& color)
{
    SDL_Color c;
    c.r = color.r;
    c.g = color.g;
    c.b = color.b;
    c.unused = 0;
    return c;
}

// The scanner of embedded expressions, shared by wrapping and line processing.
enum class TextMode { Plain, Opened, Expression };

} // namespace

// ---- Construction -------------------------------------------------------------------------

Label::Label() = default;

Label::Label(const std::string& text, Font* font, HorizontalAlignment alignment)
    : Label(text, font, Palette::Black, alignment)
{
}

// Delegates to the default constructor first, so that a label whose text fails to build
// (an expression that throws) still runs its destructor, and the font it took is freed.
Label::Label(const std::string& text, Font* font, const Color& color, HorizontalAlignment alignment)
    : Label()
{
    m_LineAlignment = alignment;
    m_Font.reset(font);
    m_TextColor = color;
    m_BaseFontSize = font ? font->GetPointSize() : 0;
    SetText(text, false);
    UpdateImage();
}

Label::~Label()
{
    m_Font.reset();
    m_ShadowColor.reset();
    m_HighlightColor.reset();
    m_DisabledSavedColor.reset();
}

Label* Label::CreateFromResource(const std::string& name)
{
    std::unique_ptr<Label> label(new Label());
    label->AcquireAndApplyResource(name);
    return label.release();
}

Label* Label::CreateFromResource(const std::string& name, const std::string& text)
{
    std::unique_ptr<Label> label(CreateFromResource(name));
    label->SetText(text, true);
    return label.release();
}

// ---- Text ---------------------------------------------------------------------------------

void Label::SetText(const std::string& text, bool refresh)
{
    SetTextAs(text, false, refresh);
}

void Label::SetExpressionText(const std::string& text, bool refresh)
{
    SetTextAs(text, true, refresh);
}

void Label::SetTextAs(const std::string& text, bool expressions, bool refresh)
{
    m_Expressions = expressions;
    m_Wrapped = false;
    m_SourceText = text;
    if (m_WrapWidth > 0) {
        // A box replaces both the width limit and the wrap limit.
        m_Text = FitToBox(text);
        m_Wrapped = true;
    } else {
        if (m_WidthLimit != 0)
            ShrinkToWidthLimit(text);
        m_Text = text;
        if (m_WrapLimit != 0)
            WrapText(m_WrapLimit, true);
    }
    for (Label* copy : {m_Highlight, m_Shadow}) {
        if (!copy)
            continue;
        copy->m_LineSpacing = m_LineSpacing;
        copy->SetTextAs(m_Text, m_Expressions, true);
    }
    if (refresh)
        UpdateImage();
    UpdateAlignment();
}

void Label::SetText(const LuaObject& object, bool refresh)
{
    MAKO_ASSERT(object.IsConvertibleToString());
    SetText(object.ToString(), refresh);
}

void Label::SetPointSizes(int size)
{
    m_Font->SetPointSize(size);
    for (Label* copy : {m_Highlight, m_Shadow})
        if (copy && copy->m_Font)
            copy->m_Font->SetPointSize(size);
}

void Label::ShrinkToWidthLimit(const std::string& text)
{
    if (!m_Font)
        return;
    int size = m_BaseFontSize;
    SetPointSizes(size);
    Point<int> measured = m_Font->GetTextSize(text);
    while (measured.x > m_WidthLimit) {
        --size;
        SetPointSizes(size);
        if (size < kMinimumShrinkSize)
            break;
        measured = m_Font->GetTextSize(text);
    }
}

// ---- Fitting to a box ---------------------------------------------------------------------

namespace {

// The paragraph's words: the pieces between spaces, spaces inside expressions kept (when
// the text has expressions).
std::vector<std::string> SplitWords(const std::string& paragraph, bool expressions)
{
    std::vector<std::string> words(1);
    bool inside = false;
    for (const char ch : paragraph) {
        if (ch == '|' && expressions)
            inside = !inside;
        if (ch == ' ' && !inside)
            words.emplace_back();
        else
            words.back() += ch;
    }
    return words;
}

int TextWidth(const Font& font, const std::string& line)
{
    return line.empty() ? 0 : font.GetTextSize(line).x;
}

// The paragraph broken at spaces so that each line fits the width; a word wider than the
// width keeps a line of its own.
std::string WrapParagraph(const Font& font, const std::string& paragraph, int width,
                          bool expressions)
{
    const std::vector<std::string> words = SplitWords(paragraph, expressions);
    std::string wrapped;
    std::string line = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string longer = line + ' ' + words[i];
        if (TextWidth(font, longer) > width && line.find_first_not_of(" \t") != std::string::npos) {
            wrapped += line + '\n';
            line = words[i];
        } else {
            line = longer;
        }
    }
    return wrapped + line;
}

// Calls visit with each line of the text.
template <typename Visit> void ForEachLine(const std::string& text, Visit visit)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        visit(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return;
        start = end + 1;
    }
}

} // namespace

std::string Label::WrapToWidth(const std::string& text) const
{
    std::string wrapped;
    bool first = true;
    ForEachLine(text, [&](const std::string& paragraph) {
        if (!first)
            wrapped += '\n';
        first = false;
        wrapped += WrapParagraph(*m_Font, paragraph, m_WrapWidth, m_Expressions);
    });
    return wrapped;
}

int Label::LinesHeight(const std::string& text) const
{
    int height = 0;
    ForEachLine(text, [&](const std::string& line) {
        height += m_Font->GetTextSize(line.empty() ? " " : line).y;
    });
    return height;
}

std::string Label::FitToBox(const std::string& text)
{
    if (!m_Font)
        return text;
    int size = m_BaseFontSize;
    for (;;) {
        SetPointSizes(size);
        const std::string wrapped = WrapToWidth(text);
        int widest = 0;
        ForEachLine(wrapped, [&](const std::string& line) {
            widest = std::max(widest, TextWidth(*m_Font, line));
        });
        const bool fits =
            widest <= m_WrapWidth && (m_HeightLimit <= 0 || LinesHeight(wrapped) <= m_HeightLimit);
        if (fits || size <= std::min(m_BaseFontSize, kMinimumFitSize))
            return wrapped;
        --size;
    }
}

void Label::SetWrapWidth(int pixels, bool refresh)
{
    m_WrapWidth = std::max(0, pixels);
    SetText(m_SourceText, refresh);
}

void Label::SetHeightLimit(int pixels, bool refresh)
{
    m_HeightLimit = std::max(0, pixels);
    SetText(m_SourceText, refresh);
}

void Label::WrapText(int limit, bool refresh)
{
    m_WrapLimit = limit;
    if (m_Wrapped || m_Text.empty())
        return;
    std::string wrapped = m_Text;
    TextMode mode = TextMode::Plain;
    int count = 1;
    bool full = false;
    for (std::size_t position = 0; position < wrapped.size(); ++position) {
        const char ch = wrapped[position];
        bool insideExpression = false;
        switch (mode) {
        case TextMode::Plain:
            if (ch == '|' && m_Expressions)
                mode = TextMode::Opened;
            break;
        case TextMode::Opened:
            mode = ch == '|' ? TextMode::Plain : TextMode::Expression;
            insideExpression = ch != '|';
            break;
        case TextMode::Expression:
            if (ch == '|')
                mode = TextMode::Plain;
            else
                insideExpression = true;
            break;
        }
        // Limits count characters: the further bytes of a UTF-8 character are not counted
        // (and are never spaces or line feeds).
        if (!Utf8::IsLead(ch))
            continue;
        if (position == 0) // the first character never breaks a line
            continue;
        if (count == limit)
            full = true;
        if (ch == '\n') {
            full = false;
            count = 1;
        } else if (ch == ' ' && full && !insideExpression) {
            wrapped[position] = '\n';
            full = false;
            count = 1;
        }
        ++count;
    }
    m_Text = wrapped;
    m_Wrapped = true;
    if (refresh)
        UpdateImage();
}

void Label::ProcessLines(const std::string& text, std::vector<std::string>& output)
{
    MAKO_ASSERT(output.empty());
    if (!m_Expressions) {
        ForEachLine(text, [&](const std::string& line) { output.push_back(line); });
        return;
    }
    output.emplace_back();
    TextMode mode = TextMode::Plain;
    std::string expression;
    for (const char ch : text) {
        if (mode == TextMode::Opened) {
            if (ch == '|') {
                output.back() += '|';
                mode = TextMode::Plain;
                continue;
            }
            mode = TextMode::Expression;
            expression.clear();
        }
        if (mode == TextMode::Plain) {
            if (ch == '\n')
                output.emplace_back();
            else if (ch == '|')
                mode = TextMode::Opened;
            else
                output.back() += ch;
            continue;
        }
        if (ch == '\n') {
            // A line end breaks the expression: what there was of it shows as written.
            output.back() += '|' + expression;
            output.emplace_back();
            mode = TextMode::Plain;
        } else if (ch == '|') {
            const std::optional<std::string> value = EvaluateExpression(expression);
            output.back() += value ? *value : '|' + expression + '|';
            mode = TextMode::Plain;
        } else {
            expression += ch;
        }
    }
    // An expression still open at the end is dropped.
}

// ---- Rendering ----------------------------------------------------------------------------

bool Label::LineFits(const std::string& line) const
{
    return m_Font && m_Font->GetTextSize(line.empty() ? " " : line).x <= MaxLineWidth();
}

int Label::MaxImageWidth()
{
    const AppHost* host = GetAppHost();
    if (!host || host->GetWidth() <= 0)
        return kMaxImageWidth;
    return std::min(kMaxImageWidth, kScreensPerImage * host->GetWidth());
}

int Label::MaxImageHeight()
{
    const AppHost* host = GetAppHost();
    if (!host || host->GetHeight() <= 0)
        return kMaxImageHeight;
    return std::min(kMaxImageHeight, kScreensPerImage * host->GetHeight());
}

int Label::MaxLineWidth() const
{
    return MaxImageWidth() - std::max(0, m_TextOffset.x);
}

std::string Label::CutToWidth(const std::string& line, Point<int>& size) const
{
    const int limit = MaxLineWidth();
    size = m_Font->GetTextSize(line);
    if (size.x <= limit)
        return line;
    // The longest prefix of whole characters that fits (at least nothing).
    std::size_t fits = 0;
    std::size_t tooMany = Utf8::Length(line);
    while (tooMany - fits > 1) {
        const std::size_t middle = fits + (tooMany - fits) / 2;
        if (m_Font->GetTextSize(Utf8::Prefix(line, middle)).x <= limit)
            fits = middle;
        else
            tooMany = middle;
    }
    const std::string cut = Utf8::Prefix(line, fits);
    size = m_Font->GetTextSize(cut.empty() ? " " : cut);
    if (cut.empty())
        size.x = 0;
    return cut;
}

Image* Label::RenderLines(const std::vector<std::string>& input)
{
    MAKO_ASSERT(m_Font);
    // Lines too wide for an image are cut at a character, and lines that would reach below
    // the tallest image are left out, so that every label can be drawn.
    std::vector<std::string> lines;
    std::vector<SDL_Rect> rects;
    int widest = 0;
    int totalHeight = 0;
    int y = 0;
    const int maxHeight = MaxImageHeight();
    for (const std::string& line : input) {
        Point<int> size;
        std::string shown = CutToWidth(line.empty() ? " " : line, size);
        if (line.empty())
            shown.clear();
        if (totalHeight + size.y + std::max(0, m_TextOffset.y) > maxHeight)
            break;
        lines.push_back(shown);
        rects.push_back(MakeRect(0, y, size.x, size.y));
        widest = std::max(widest, size.x);
        totalHeight += size.y;
        y += size.y - m_LineSpacing;
    }
    // The text's image is held decoded like a picture: the budget makes room for it first.
    MemoryBudget::MakeRoom(4LL * std::max(0, widest + m_TextOffset.x) *
                           std::max(0, totalHeight + m_TextOffset.y));
    SurfaceHandle finalSurface(SDL_CreateRGBSurface(SDL_SWSURFACE, widest + m_TextOffset.x,
                                                    totalHeight + m_TextOffset.y, 32, 0x00FF0000,
                                                    0x0000FF00, 0x000000FF, 0xFF000000));
    // Bounded above, but memory may still be short: that is the text's cost, not a mistake
    // of the program.
    if (!finalSurface)
        MAKO_THROW(ImageException,
                   boost::str(boost::format("A text of %1% x %2% pixels could not be given memory "
                                            "(%3%).") %
                              (widest + m_TextOffset.x) % (totalHeight + m_TextOffset.y) %
                              SDL_GetError()));
    SDL_FillRect(finalSurface.get(), nullptr, 0);
    const SDL_Color color = ToSDLColor(OwnLayerColor());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SDL_Rect rect = rects[i];
        int x = 0;
        switch (m_LineAlignment) {
        case HorizontalAlignment::Center:
            x = widest / 2 - rect.w / 2;
            break;
        case HorizontalAlignment::Left:
            x = 0;
            break;
        case HorizontalAlignment::Right:
            x = widest - rect.w;
            break;
        default:
            MAKO_THROW(Exception, "A label has an unknown horizontal alignment.");
        }
        rect.x = static_cast<Sint16>(x + m_TextOffset.x);
        rect.y = static_cast<Sint16>(rect.y + m_TextOffset.y);
        SurfaceHandle tmpSurface(
            m_Font->RenderText_Blended(lines[i].empty() ? " " : lines[i], color));
        if (!tmpSurface)
            continue;
        // Copy the rendered pixels, alpha included, instead of blending them.
        SDL_SetAlpha(tmpSurface.get(), 0, 0);
        SDL_UpperBlit(tmpSurface.get(), nullptr, finalSurface.get(), &rect);
    }
    return new Image(std::move(finalSurface), 0, nullptr);
}

void Label::UpdateImage()
{
    if (!m_Font)
        return;
    if (m_ShadowColor && !m_Shadow)
        CreateShadow();
    if (m_HighlightColor && !m_Highlight)
        CreateHighlight();
    SyncCopies();
    std::vector<std::string> lines;
    ProcessLines(m_Text, lines);
    Image* image = RenderLines(lines);
    SetDrawMode(DRAWMODE_COMBINED_ALPHA);
    SetImage(image, "");
}

// ---- Colours, font, copies ----------------------------------------------------------------

void Label::SetColor(const Color& color, bool refresh)
{
    m_TextColor = color;
    if (refresh)
        UpdateImage();
}

void Label::SetFont(Font* font, bool refresh)
{
    if (font != m_Font.get())
        m_Font.reset(font);
    m_BaseFontSize = font ? font->GetPointSize() : 0;
    // The copies were made with the old font.
    for (Label** copy : {&m_Shadow, &m_Highlight}) {
        if (*copy) {
            DestroyChild(*copy);
            *copy = nullptr;
        }
    }
    if (refresh)
        UpdateImage();
}

void Label::SetDisabled(bool disabled)
{
    if (disabled) {
        if (!m_DisabledSavedColor)
            m_DisabledSavedColor = m_TextColor;
        m_TextColor = Colors::ByName("Gray");
        UpdateImage();
        return;
    }
    if (m_DisabledSavedColor) {
        m_TextColor = *m_DisabledSavedColor;
        UpdateImage();
        m_DisabledSavedColor.reset();
    }
}

void Label::SetShadowColor(const Color& color)
{
    m_ShadowColor = color;
    if (m_Shadow) {
        DestroyChild(m_Shadow);
        m_Shadow = nullptr;
    }
}

void Label::SetHighlightColor(const Color& color)
{
    m_HighlightColor = color;
    if (m_Highlight) {
        DestroyChild(m_Highlight);
        m_Highlight = nullptr;
    }
}

Color Label::OwnLayerColor() const
{
    if (m_HighlightColor)
        return *m_HighlightColor;
    if (m_ShadowColor)
        return *m_ShadowColor;
    return m_TextColor;
}

Color Label::HighlightCopyColor() const
{
    return m_ShadowColor ? *m_ShadowColor : m_TextColor;
}

void Label::SyncCopies()
{
    SyncCopy(m_Shadow, m_TextColor);
    SyncCopy(m_Highlight, HighlightCopyColor());
}

void Label::SyncCopy(Label* copy, const Color& color)
{
    if (!copy)
        return;
    if (copy->m_TextColor == color && copy->m_LineAlignment == m_LineAlignment &&
        copy->m_TextOffset == m_TextOffset && copy->m_LineSpacing == m_LineSpacing)
        return;
    copy->m_TextColor = color;
    copy->m_LineAlignment = m_LineAlignment;
    copy->m_TextOffset = m_TextOffset;
    copy->m_LineSpacing = m_LineSpacing;
    copy->UpdateImage();
}

Label* Label::CreateCopy(const Color& color, int offset, int zorder)
{
    // The copy lays its lines out as the label does (alignment, text offset, spacing), so
    // that it sits exactly one pixel off the label's own image whatever the layout; a
    // centred copy without the offset would drift away from a left- or right-aligned or
    // offset text.
    Font* font = new Font(m_Font->GetFontName(), m_Font->GetPointSize(), 0);
    std::unique_ptr<Label> copy(new Label(m_Text, font, color, m_LineAlignment));
    if (m_Expressions)
        copy->SetExpressionText(m_Text, true);
    copy->SetPosition(offset, offset);
    copy->SetZOrder(zorder);
    copy->m_TextOffset = m_TextOffset;
    copy->m_LineSpacing = m_LineSpacing;
    if (m_LineSpacing != 0 || m_TextOffset.x != 0 || m_TextOffset.y != 0)
        copy->UpdateImage();
    AddChild(copy.get(), "");
    return copy.release();
}

void Label::CreateShadow()
{
    MAKO_ASSERT(m_Font);
    m_Shadow = CreateCopy(m_TextColor, -1, 2);
}

void Label::CreateHighlight()
{
    MAKO_ASSERT(m_Font);
    m_Highlight = CreateCopy(HighlightCopyColor(), 1, 1);
}
