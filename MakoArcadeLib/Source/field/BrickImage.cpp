// Brick: composition of the brick's image from the texture, outline, bevel and crack
// resources, with one frame per damage stage, and its cache.
//
// Resource names:
//   texture      "Texture." texture variant ".png"
//   whole block  "Shape." shape "." res ".Block." texture shapeVariant variant ".png"
//   outline      "Shape." shape "." res ".Outline.png"
//   bevel        "Shape." shape "." res ".Bevel." rot [shapeVariant] bevelVariant ".png"
//   cracks       "Damage." shape crackVariant ".png", else "Damage.Default" crackVariant
//                ".png", else "Damage.Default.1.png"
// An empty texture reads as "Transparent" in every name.
#include "field/Brick.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "lua/MakoLuaState.h"
#include "perf/ScopedPerformanceTimer.h"
#include "resources/ResourceManager.h"

#include <boost/format.hpp>

#include <cmath>
#include <cstdlib>
#include <memory>

using LuaPlus::LuaObject;

namespace {

// The integers of a global Lua list, in order.
std::vector<int> GlobalIntList(const char* name)
{
    std::vector<int> values;
    const LuaObject list = GetGlobalLuaState()->GetGlobal(name);
    if (!list.IsTable())
        return values;
    for (int i = 1; list[i].IsNumber(); ++i)
        values.push_back(list[i].GetInteger());
    return values;
}

using ImagePtr = std::unique_ptr<Image>;

SDL_Rect BrickRect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = Sint16(x);
    r.y = Sint16(y);
    r.w = Uint16(std::max(0, w));
    r.h = Uint16(std::max(0, h));
    return r;
}

} // namespace

// ---- Names and searches ----------------------------------------------------------------------

static std::string TextureOrTransparent(const std::string& material)
{
    return material.empty() ? std::string("Transparent") : material;
}

std::string Brick::TextureName() const
{
    return "Texture." + TextureOrTransparent(m_Material) + m_Variant + ".png";
}

std::string Brick::BlockName(int resolution) const
{
    return "Shape." + GetShapeName() + "." + std::to_string(resolution) + ".Block." +
           TextureOrTransparent(m_Material) + m_ShapeVariant + m_Variant + ".png";
}

std::string Brick::OutlineName(int resolution) const
{
    return "Shape." + GetShapeName() + "." + std::to_string(resolution) + ".Outline.png";
}

std::string Brick::BevelName(int resolution, int rotation, bool withShapeVariant) const
{
    return "Shape." + GetShapeName() + "." + std::to_string(resolution) + ".Bevel." +
           std::to_string(rotation) + (withShapeVariant ? m_ShapeVariant : std::string()) +
           m_BevelVariant + ".png";
}

bool Brick::BevelImageExists(int resolution, int rotation, bool withShapeVariant) const
{
    return IsKnownResource(BevelName(resolution, rotation, withShapeVariant));
}

bool Brick::BaseImageExists(int resolution) const
{
    return IsKnownResource(IsBevelled() ? OutlineName(resolution) : BlockName(resolution));
}

int Brick::NearestEntry(const std::vector<int>& table, int target, bool circular)
{
    int best = -1;
    int bestDistance = 1000000;
    for (int entry : table) {
        int distance = std::abs(target - entry);
        if (circular) {
            distance %= 360;
            distance = std::min(distance, 360 - distance);
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = entry;
        }
    }
    return best;
}

// The resolution search shared by the bevel and the base image: the preferred resolution,
// the brick's own size, then the nearest listed resolution that exists; -1 when none.
template <typename Exists> static int SearchResolution(Brick& brick, Exists exists)
{
    LuaObject preferred;
    brick.RetrieveProperty(preferred, "preferredResolution");
    if (preferred.IsNumber() && exists(preferred.GetInteger()))
        return preferred.GetInteger();
    const int size = int(std::max(brick.GetShapeWidth(), brick.GetShapeHeight()));
    if (exists(size))
        return size;
    std::vector<int> candidates;
    for (int r : GlobalIntList("BrickResolutions"))
        if (exists(r))
            candidates.push_back(r);
    return Brick::NearestEntry(candidates, size, false);
}

void Brick::GetBevelParameters()
{
    m_BevelResolution = -1;
    bool withShapeVariant = true;
    for (;;) {
        m_BevelResolution = SearchResolution(
            *this, [&](int r) { return BevelImageExists(r, 0, withShapeVariant); });
        if (m_BevelResolution != -1)
            break;
        if (!m_BevelVariant.empty() && m_BevelVariant != ".NoBevel") {
            m_BevelVariant.clear();
        } else if (withShapeVariant) {
            withShapeVariant = false;
        } else {
            m_BevelRotation = -1;
            return;
        }
    }
    if (BevelImageExists(m_BevelResolution, 0, false) &&
        !BevelImageExists(m_BevelResolution, 0, true))
        m_ShapeVariant.clear();
    m_BevelRotation = 0;
    // Any angle, however many turns, into 0 .. 359.
    double angle = std::fmod(m_Rotation, 360.0);
    if (angle < 0)
        angle += 360.0;
    std::vector<int> rotations;
    for (int t : GlobalIntList("BrickRotations"))
        if (BevelImageExists(m_BevelResolution, t, true))
            rotations.push_back(t);
    // A pack without a bevel picture of any turn for this resolution leaves the bevel
    // unturned.
    if (rotations.empty())
        return;
    m_BevelRotation = NearestEntry(rotations, int(angle), true);
}

void Brick::PickResolution()
{
    m_Resolution = SearchResolution(*this, [&](int r) { return BaseImageExists(r); });
}

void Brick::PickBaseImageParameters()
{
    if (m_ImageParametersPicked)
        return;
    GetBevelParameters();
    if (IsBevelled() && !IsKnownResource(TextureName()))
        m_Material = "Transparent";
    PickResolution();
    const bool bevel = IsBevelled();
    // Raised for the brick to show the placeholder (BuildImage reports it).
    if (m_Resolution == -1 && !(GetShape() == STRUCTURE_SHAPE_RECTANGLE && bevel)) {
        MAKO_THROW(
            InvalidImageParametersError,
            boost::str(boost::format("The parameters for this brick did not result in any valid "
                                     "resolution.\nOriginal Texture Name: %s\nShape Name: %s\n"
                                     "Variant: %s\nShape Variant %s\nBevel Variant: %s\n") %
                       m_Material % GetShapeName() % m_Variant % m_ShapeVariant % m_BevelVariant));
    }
    m_ImageParametersPicked = true;
}

// ---- Base image --------------------------------------------------------------------------------

void Brick::BuildBaseImage(int width, int height)
{
    ScopedPerformanceTimer timer("Build Base Image");
    if (m_BaseImage) {
        SetImage(m_BaseImage->Clone(), "");
        return;
    }
    PickBaseImageParameters();
    if (IsBevelled()) {
        BuildBevelledBase(width, height);
    } else {
        ScopedPerformanceTimer step("Whole Block");
        ImagePtr block(new Image(BlockName(m_Resolution)));
        m_DamageStages = block->GetNumFrames();
        const Point<int> frame = block->GetFrameSize();
        SetImage(ImageEffects::ZoomImageXY(block.get(), double(width) / frame.x,
                                           double(height) / frame.y, true),
                 "");
    }
    if (m_DamageStages == 1 && m_Strength > 1)
        ApplyCracks(width, height);
    m_BaseImage.reset(GetImage()->Clone());
}

void Brick::BuildBevelledBase(int width, int height)
{
    const double bw = GetShapeWidth();
    const double bh = GetShapeHeight();
    ImagePtr tex(new Image(TextureName()));
    m_DamageStages = 1;
    {
        ScopedPerformanceTimer step("Make Color Field");
        if (m_Material == "Transparent") {
            ImagePtr field(
                new Image(96, 96, 1, tex->GetFlags() & IMAGE_INHERITED_FLAGS, m_BrickColor));
            tex->DrawOnto(nullptr, field.get(), nullptr);
            tex = std::move(field);
        } else if (m_NoRotateTexture && m_Rotation != 0 && int(m_Rotation) % 90 == 0) {
            tex.reset(ImageEffects::RotateImage(tex.get(), m_Rotation, -1, false));
        }
    }
    {
        ScopedPerformanceTimer step("Scale texture");
        const Point<int> frame = tex->GetFrameSize();
        const double sx = bw / frame.x;
        const double sy = bh / frame.y;
        if (sx > 1 || sy > 1)
            tex.reset(ImageEffects::ZoomImage(tex.get(), std::max(sx, sy), true));
        Image* base = new Image(width, height, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
        SetImage(base, "");
        base->Fade(0);
        const Point<int> size = tex->GetFrameSize();
        const int ry = RandomInt(int(size.y - bh));
        const int rx = RandomInt(int(size.x - bw));
        SDL_Rect src = BrickRect(rx, ry, width, height);
        SDL_Rect dst = BrickRect(0, 0, width, height);
        tex->CopyOnto(&src, base, &dst);
    }
    if (m_Resolution > 0) {
        ScopedPerformanceTimer step("Clip image");
        ImagePtr outline(new Image(OutlineName(m_Resolution)));
        const Point<int> frame = outline->GetFrameSize();
        ImagePtr scaled(
            ImageEffects::ZoomImageXY(outline.get(), bw / frame.x, bh / frame.y + 0.0001, true));
        GetImage()->Clip(scaled.get());
    }
    ScopedPerformanceTimer step("Apply bevel");
    ApplyBevel();
}

void Brick::ApplyCracks(int width, int height)
{
    ScopedPerformanceTimer step("apply cracks");
    Image* image = GetImage();
    image->SetAlphaProperties(0, 0);
    image->SetFlags((image->GetFlags() | IMAGE_OPAQUE) &
                    ~std::uint32_t(IMAGE_HWSURFACE | IMAGE_COMBINEDALPHA));
    ImagePtr crack = ScaledCrack(width, height);
    if (!crack) {
        image->SetAlphaProperties(SDL_SRCALPHA, 255);
        image->SetFlags(image->GetFlags() & ~std::uint32_t(IMAGE_OPAQUE));
        return;
    }
    ScopedPerformanceTimer application("ScaledCrack application");
    const int stages = m_DamageStages;
    Image* strip = new Image(width, height, stages, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
    strip->Fade(0);
    for (int i = 0; i < stages; ++i) {
        SDL_Rect dst = BrickRect(i * width, 0, width, height);
        image->CopyOnto(nullptr, strip, &dst);
    }
    crack->CompositeOnto(nullptr, strip, nullptr);
    SetImage(strip, "");
    strip->SetAlphaProperties(SDL_SRCALPHA, 255);
    strip->SetFlags(strip->GetFlags() & ~std::uint32_t(IMAGE_OPAQUE));
}

std::unique_ptr<Image> Brick::StackedMask(Image* shape, int width, int height, int stages)
{
    ImagePtr mask(new Image(width, height, stages, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0)));
    mask->Fade(0);
    for (int i = 0; i < stages; ++i) {
        SDL_Rect dst = BrickRect(i * width, 0, width, height);
        shape->CopyOnto(nullptr, mask.get(), &dst);
    }
    return mask;
}

std::unique_ptr<Image> Brick::ScaledCrack(int width, int height)
{
    ScopedPerformanceTimer creation("ScaledCrack creation");
    auto scaledTo = [width, height](Image* loaded) {
        const Point<int> f = loaded->GetFrameSize();
        return ImagePtr(
            ImageEffects::ZoomImageXY(loaded, double(width) / f.x, double(height) / f.y, true));
    };
    const std::string own = "Damage." + GetShapeName() + m_CrackVariant + ".png";
    if (IsKnownResource(own)) {
        ImagePtr loaded(new Image(own));
        m_DamageStages = loaded->GetNumFrames();
        return scaledTo(loaded.get());
    }
    std::string name =
        "Damage.Default" + (m_CrackVariant.empty() ? std::string(".1") : m_CrackVariant) + ".png";
    if (!IsKnownResource(name) && m_CrackVariant != ".NoCrack")
        name = "Damage.Default.1.png";
    // The shared cracks are clipped to the outline; an unbevelled block without one carries
    // its own outline in its alpha, and clips them by itself.
    const bool byOutline = m_Resolution > 0 && IsKnownResource(OutlineName(m_Resolution));
    if (!IsKnownResource(name) || (!byOutline && IsBevelled()))
        return nullptr;
    ImagePtr loaded(new Image(name));
    const int stages = loaded->GetNumFrames();
    ImagePtr crack = scaledTo(loaded.get());
    ImagePtr outline;
    if (byOutline) {
        ImagePtr unscaled(new Image(OutlineName(m_Resolution)));
        outline = scaledTo(unscaled.get());
    }
    ImagePtr mask = StackedMask(byOutline ? outline.get() : GetImage(), width, height, stages);
    crack->Clip(mask.get());
    m_DamageStages = stages;
    return crack;
}

void Brick::ApplyBevel()
{
    if (!IsBevelled())
        return;
    ImagePtr bevel(new Image(BevelName(m_BevelResolution, m_BevelRotation, true)));
    const Point<int> frame = bevel->GetFrameSize();
    ImagePtr scaled(ImageEffects::ZoomImageXY(bevel.get(), GetShapeWidth() / frame.x,
                                              GetShapeHeight() / frame.y, true));
    Image* image = GetImage();
    for (int i = 0; i < image->GetNumFrames(); ++i)
        scaled->CompositeFrameOnto(image, int(GetShapeWidth() * i), 0, 0);
}

// ---- Top level ---------------------------------------------------------------------------------

void Brick::CreateBrickImage()
{
    if (m_Invisible && m_Strength < -1)
        return;
    ScopedPerformanceTimer timer("CreateBrickImage");
    ApplyColorVariance();
    // The new image may have fewer frames than the current one.
    if (GetImage() && GetFrame() != 0)
        SetFrame(0);
    if (m_FinishedImage) {
        SetImage(m_FinishedImage->Clone(), "");
    } else {
        const int w = int(GetShapeWidth());
        const int h = int(GetShapeHeight());
        BuildBaseImage(w, h);
        const double xScale = w * 0.010416666666666666;
        const double yScale = h * 0.020833333333333332;
        {
            ScopedPerformanceTimer step("Apply things");
            ApplyEdges(w, h, xScale, yScale);
            ApplyOverlays(w, h);
            ApplyIcons(w, h, xScale, yScale);
        }
        m_FinishedImage.reset(GetImage()->Clone());
    }
    if (m_RegenerationCountdown != 0 && m_Regenerates > 0) {
        SetDrawMode(DRAWMODE_DEFAULT);
        SetAlpha(std::uint8_t(255 * (1 - (0.5 * m_RegenerationCountdown / m_Regenerates + 0.5))));
    } else if ((m_PhaseStrongTicks || m_PhaseWeakTicks) && m_PhaseToInvisible) {
        SetDrawMode(DRAWMODE_DEFAULT);
    } else {
        SetDrawMode(DRAWMODE_HAS_IMAGE);
    }
    Image* image = GetImage();
    image->SetAlphaProperties(SDL_SRCALPHA, 255);
    image->SetFlags(image->GetFlags() & ~std::uint32_t(IMAGE_OPAQUE));
    if (m_Rotation != 0) {
        ScopedPerformanceTimer step("Rotate bricks");
        Actor::SetRotation(-m_Rotation, Center, true);
    }
    if (m_Damage >= 0 && m_Damage < m_Strength)
        SetFrame(StageForDamage(m_Damage));
    if (m_PhaseToInvisible)
        UpdatePhaseInvisibility();
    image->RefreshHWSurface(false);
    m_ShowsPlaceholder = false;
    m_ImageValid = true;
}
