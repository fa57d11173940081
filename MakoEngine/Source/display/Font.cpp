#include "display/Font.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/PackUnusable.h"
#include "core/Utf8.h"
#include "core/Utility.h"
#include "display/FontCache.h"
#include "display/GlyphRow.h"
#include "display/SurfaceManager.h"
#include "lua/ScriptValueReaders.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"

#include <boost/format.hpp>

#include <algorithm>
#include <set>

using LuaPlus::LuaObject;

namespace {

// SDL_ttf copies a text onto the stack, two bytes a character, before it measures or draws
// it, so a text of megabytes would overflow the stack. Longer texts are measured and drawn
// up to their last whole character within this many bytes, far wider than any image.
const std::size_t kMaxTextBytes = 16384;

// The part of a text SDL_ttf is given: up to its first NUL (SDL_ttf reads C strings, so
// measuring and drawing agree), and its first whole characters within kMaxTextBytes.
std::string ShownText(const std::string& text)
{
    std::size_t end = std::min(text.find('\0'), text.size());
    if (end > kMaxTextBytes) {
        end = kMaxTextBytes;
        while (end > 0 && !Utf8::IsLead(text[end]))
            --end;
    }
    return text.substr(0, end);
}

// The font of the file the resource name reads, opened at that size and face; null when
// the file cannot be read, is not a font SDL_ttf can open, or is out of proportion at that
// size (then refusal says what was measured). The reader gives the same bytes on every
// read while the entry lives, so fonts of one resource find one another in the cache; the
// fonts read a copy of them that the cache holds, so they outlive the entry when a script
// replaces it.
std::shared_ptr<TTF_Font> OpenResourceFont(ResourceManager& manager, const std::string& name,
                                           int pointSize, int faceIndex, std::string& refusal)
{
    refusal.clear();
    ResourceInfo* info = manager.FindInfo(name);
    FileReader* reader = info->GetReader();
    if (!reader)
        return nullptr;
    FontCache::Key key;
    try {
        reader->Read(info->Name(), key.data, key.size);
    } catch (const ResourceLoadError&) {
        return nullptr;
    }
    key.pointSize = pointSize;
    key.faceIndex = faceIndex;
    return FontCache::Open(key, &refusal);
}

// Why a font file is refused: what its opening measured, or that it does not open.
std::string RefusalCause(const std::string& refusal)
{
    if (refusal.empty())
        return "it is not a font file that can be opened";
    return "the font " + refusal + ", out of proportion; another font of the pack is used";
}

// For a font file of the pack that cannot be used at all: records it with the resource
// manager (logged once by name, with the cause) and opens the first other font file of the
// pack, by name, that opens in proportion, so the texts still show; one refused on the way
// is recorded too. Null when none does.
std::shared_ptr<TTF_Font> OpenStandInFont(ResourceManager& manager, const std::string& name,
                                          int pointSize, const std::string& cause)
{
    manager.RecordDamaged(name, cause);
    for (const char* suffix : {".ttf", ".otf"})
        for (const std::string& other : manager.FindNamesEndingWith(suffix)) {
            if (other == name || manager.IsDamaged(other))
                continue;
            std::string refusal;
            if (std::shared_ptr<TTF_Font> font =
                    OpenResourceFont(manager, other, pointSize, 0, refusal))
                return font;
            if (!refusal.empty())
                manager.RecordDamaged(other, RefusalCause(refusal));
        }
    return nullptr;
}

// The font files whose glyph faults, and whose refusals of a text, were named: each is
// named once, however many fonts and labels use the file.
std::set<std::string>& NamedGlyphFaults()
{
    static std::set<std::string> named;
    return named;
}

} // namespace

MAKO_IMPLEMENT_CLASS(Font, "Font", "Object", &Font::RegisterProperties, nullptr);

bool Font::IsFont(const LuaObject& params)
{
    return params.IsTable() || params.IsString();
}

Font::Font(const LuaObject& params)
{
    MAKO_ASSERT(Font::IsFont(params));
    ApplyProperties(params);
}

Font::Font(const std::string& name, int pointSize, int faceIndex)
{
    SetFont(name, pointSize, faceIndex);
}

Font::Font(const Font& other) : Object()
{
    SetFont(other.m_FontName, other.m_FontSize, other.m_FontIndex);
}

Font::~Font() = default;

void Font::SetFont(const std::string& name, int pointSize, int faceIndex)
{
    // Sizes are bounded before anything is opened: a huge size would make every rendering
    // allocate hundreds of megabytes, and SDL_ttf cannot open a size below 1.
    if (pointSize < kMinPointSize || pointSize > kMaxPointSize)
        MAKO_THROW(Exception,
                   boost::str(boost::format("Could not set font: %1%, %2%, %3% (point sizes run "
                                            "from %4% to %5%)") %
                              name % pointSize % faceIndex % kMinPointSize % kMaxPointSize));
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT(manager != 0);
    std::shared_ptr<TTF_Font> font;
    std::string refusal;
    if (!manager->IsDamaged(name))
        font = OpenResourceFont(*manager, name, pointSize, faceIndex, refusal);
    // A font file that opens at no face, or out of proportion, is damaged: another of the
    // pack stands in for it.
    const bool fontFile = EndsWith(name, ".ttf") || EndsWith(name, ".otf");
    if (!font && fontFile && (faceIndex == 0 || !refusal.empty() || manager->IsDamaged(name))) {
        font = OpenStandInFont(*manager, name, pointSize, RefusalCause(refusal));
        // Without a font no text of the game can show: the start cannot go on.
        if (!font)
            MAKO_THROW(PackUnusable,
                       boost::str(boost::format("No font file of the pack can be used (%1%: "
                                                "%2%), so the game cannot show its texts.") %
                                  name % manager->GetDamaged().at(name)));
    }
    if (!font)
        MAKO_THROW(Exception, boost::str(boost::format("Could not set font: %1%, %2%, %3%") % name %
                                         pointSize % faceIndex));
    // The new font is held before the old is let go, so a change back to the same key
    // keeps the open font.
    m_FontObject = std::move(font);
    m_FontName = name;
    m_FontSize = pointSize;
    m_FontIndex = faceIndex;
    m_SizeGiven = true;
}

namespace {

// Why a font cannot be used yet, naming it.
std::string NotOpenMessage(const std::string& name)
{
    if (name.empty())
        return "The font has no fontName, so it is not open.";
    return boost::str(boost::format("The font %1% has no fontSize, so it is not open.") % name);
}

} // namespace

std::string Font::GetFontName() const
{
    MAKO_ASSERT_MSG(m_FontObject, NotOpenMessage(m_FontName));
    return m_FontName;
}

int Font::GetPointSize() const
{
    MAKO_ASSERT_MSG(m_FontObject, NotOpenMessage(m_FontName));
    return m_FontSize;
}

int Font::GetAscent() const
{
    MAKO_ASSERT_MSG(m_FontObject, NotOpenMessage(m_FontName));
    return TTF_FontAscent(m_FontObject.get());
}

void Font::SetPointSize(int pointSize)
{
    MAKO_ASSERT_MSG(m_FontObject, NotOpenMessage(m_FontName));
    SetFont(m_FontName, pointSize, m_FontIndex);
}

std::string Font::DrawableText(const std::string& text) const
{
    const std::string shown = ShownText(text);
    std::string kept;
    kept.reserve(shown.size());
    std::set<std::uint32_t> faulty;
    std::set<std::uint32_t> sound;
    GlyphRow row(m_FontObject.get(),
                 FontCache::kProportion * m_FontSize + FontCache::kProportionSlack);
    for (std::size_t at = 0; at < shown.size();) {
        std::size_t length = 1;
        const std::uint32_t codePoint = Utf8::Decode(shown, at, length);
        at += length;
        // SDL_ttf finds glyphs by 16-bit code points and passes over byte order marks: a
        // character it cannot find as itself (and a byte of no character) is left out, so the
        // text it is given is the one placed here.
        if (codePoint > 0xFFFFu || codePoint == 0xFEFFu || codePoint == 0xFFFEu)
            continue;
        std::string fault;
        if (faulty.count(codePoint)) {
            continue;
        } else if (!sound.count(codePoint)) {
            fault = FontCache::GlyphFault(m_FontObject.get(), m_FontSize,
                                          static_cast<Uint16>(codePoint));
            (fault.empty() ? sound : faulty).insert(codePoint);
        }
        if (fault.empty())
            fault = row.Place(static_cast<Uint16>(codePoint));
        if (fault.empty()) {
            Utf8::Append(kept, codePoint);
        } else if (NamedGlyphFaults().insert(m_FontName).second) {
            DataReport::WarnOfPack("the font " + m_FontName + " " + fault +
                                       "; such glyphs are left out of its texts",
                                   m_FontName);
        }
    }
    return kept;
}

Point<int> Font::GetTextSize(const std::string& text) const
{
    MAKO_ASSERT_MSG(m_FontObject != 0, NotOpenMessage(m_FontName));
    const std::string shown = DrawableText(text);
    int w = 0;
    int h = 0;
    if (!shown.empty() && TTF_SizeUTF8(m_FontObject.get(), shown.c_str(), &w, &h) == 0)
        return Point<int>(w, h);
    if (!shown.empty())
        ReportRefused(shown);
    return Point<int>(0, TTF_FontHeight(m_FontObject.get()));
}

SDL_Surface* Font::RenderText_Blended(const std::string& text, SDL_Color color) const
{
    MAKO_ASSERT_MSG(m_FontObject != 0, NotOpenMessage(m_FontName));
    const std::string shown = DrawableText(text);
    if (!shown.empty())
        if (SDL_Surface* surface = TTF_RenderUTF8_Blended(m_FontObject.get(), shown.c_str(), color))
            return surface;
    if (!shown.empty())
        ReportRefused(shown);
    return SurfaceManager::CreateSurface(0, TTF_FontHeight(m_FontObject.get()), true);
}

void Font::ReportRefused(const std::string& text) const
{
    // Named once for the font file, however many fonts of it refuse.
    if (!NamedGlyphFaults().insert(m_FontName + "\n(text)").second)
        return;
    DataReport::WarnOfPack("the font " + m_FontName + " could not draw the text \"" +
                               Utf8::Prefix(text, 40) + "\" (" + TTF_GetError() +
                               "); it is drawn as nothing",
                           m_FontName);
}

bool Font::ProvidesGlyph(std::uint32_t codePoint) const
{
    // SDL_ttf looks glyphs up by 16-bit code points only.
    return m_FontObject && codePoint <= 0xFFFFu &&
           TTF_GlyphIsProvided(m_FontObject.get(), static_cast<Uint16>(codePoint)) != 0;
}
