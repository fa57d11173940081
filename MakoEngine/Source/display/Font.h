#pragma once
// A scripted TrueType font (class "Font"): one SDL_ttf font opened from the bytes of a
// font file resource. Described in scripts by a table resource such as
//   Resources.HUDFont = {fontName = "DejaVuSans.ttf", fontSize = 18}
// or such a table itself. The font opens as soon as a name and a size are known and
// reopens after every later change of name, size or face index. Sizes run from
// kMinPointSize to kMaxPointSize points; any other size is refused, naming the font. Fonts
// of the same file, size and face share one SDL_ttf font (FontCache), open while any of
// them uses it. SDL_ttf must be initialised first. Texts are UTF-8. Main thread only.
#include "core/Class.h"
#include "core/Object.h"
#include "geometry/Point.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <memory>
#include <string>

class Font : public Object
{
    MAKO_DECLARE_CLASS();

public:
    static constexpr int kMinPointSize = 1;
    static constexpr int kMaxPointSize = 500;

    // From a table of properties or the name of a table resource.
    explicit Font(const LuaPlus::LuaObject& params);
    Font(const std::string& name, int pointSize, int faceIndex);
    // A second font of the same name, size and face; later changes to either leave the
    // other as it is.
    Font(const Font& other);
    ~Font() override;

    // A string is a table resource's name; anything else a property table.
    void ApplyProperties(const LuaPlus::LuaObject& value) override;
    // fontName, fontSize and fontIndex; others go to Object.
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;

    // Opens the font file resource `name` at the size and face. On failure (a size out of
    // range included) the previous font stays open and nothing changes.
    void SetFont(const std::string& name, int pointSize, int faceIndex);
    bool IsOpen() const { return m_FontObject != nullptr; }
    std::string GetFontName() const;
    int GetPointSize() const;
    // Pixels from the top of a line (as GetTextSize measures it) down to its baseline.
    int GetAscent() const;
    int GetFontIndex() const { return m_FontIndex; }
    void SetPointSize(int pointSize);

    // Width and height in pixels of the UTF-8 text in this font. Texts are measured, and
    // drawn, up to a NUL they hold, and texts of more than 16 KiB up to their last whole
    // character within that.
    Point<int> GetTextSize(const std::string& text) const;
    // A new anti-aliased rendering of the UTF-8 text (the caller frees it). Empty text
    // gives a transparent surface 0 pixels wide, and so does a text SDL_ttf refuses to
    // measure or draw: that never ends the game, and the first refusal of each font file is
    // logged naming the font and the text. A character whose glyph is damaged or out of
    // proportion, or that SDL_ttf would place outside the text's surface, is left out of what
    // is measured and drawn, named once for the font file.
    SDL_Surface* RenderText_Blended(const std::string& text, SDL_Color color) const;
    // Whether the font has a glyph of its own for the code point.
    bool ProvidesGlyph(std::uint32_t codePoint) const;

    // True for the two forms a font can be described by: a table or a resource name.
    static bool IsFont(const LuaPlus::LuaObject& params);
    static void RegisterProperties(Class& fontClass);

private:
    // The part of the text SDL_ttf is given: up to its first NUL, within 16 KiB, without the
    // characters SDL_ttf cannot find by a 16-bit code point, those whose glyphs this font
    // cannot draw in proportion (FontCache::GlyphFault) and those that would lie outside the
    // text's surface where SDL_ttf places them (GlyphRow); the first such fault of each font
    // file named once. This one rule makes every text measured and every text drawn.
    std::string DrawableText(const std::string& text) const;
    void ReportRefused(const std::string& text) const;

    std::shared_ptr<TTF_Font> m_FontObject;
    std::string m_FontName;
    int m_FontSize = 0;
    int m_FontIndex = 0;
    bool m_SizeGiven = false; // a fontSize property was applied
};
