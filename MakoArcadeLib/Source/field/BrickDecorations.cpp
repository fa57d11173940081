// Brick: decorations of the composed image that tell the player what a brick does: edge
// strips (steel, weak, grout), spring children, the phase marking, vines and the
// ball-eater overlay, and a row of icons (power-ups, trapped ball, explosives, hoppers).
// Decorations are painted into every damage frame; springs and the phase marking are
// child actors so they can stick out of the brick or fade on their own.
#include "field/Ball.h"
#include "field/Brick.h"

#include "core/Exception.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Powerup.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <algorithm>
#include <cmath>
#include <memory>

using LuaPlus::LuaObject;

namespace {

using ImagePtr = std::unique_ptr<Image>;

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDegToRad = 0.017453292519943295;

SDL_Rect DecorationRect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = Sint16(x);
    r.y = Sint16(y);
    r.w = Uint16(std::max(0, w));
    r.h = Uint16(std::max(0, h));
    return r;
}

ImagePtr Scaled(const std::string& name, double sx, double sy)
{
    ImagePtr loaded(new Image(name));
    return ImagePtr(ImageEffects::ZoomImageXY(loaded.get(), sx, sy, true));
}

// Composites the part of strip (at most w x h) onto the frame at (x, y) of target: a strip
// that meets the frame's right or bottom side takes its right or bottom part.
void PlaceStrip(Image* strip, Image* target, int frameX, int x, int y, int w, int h, bool fromRight,
                bool fromBottom)
{
    const Point<int> size = strip->GetFrameSize();
    const int cw = std::min(size.x, w);
    const int ch = std::min(size.y, h);
    SDL_Rect src =
        DecorationRect(fromRight ? size.x - cw : 0, fromBottom ? size.y - ch : 0, cw, ch);
    SDL_Rect dst = DecorationRect(frameX + x, y, cw, ch);
    strip->CompositeOnto(&src, target, &dst);
}

// Lays the strip image along one polygon edge of the frame at frameX.
void PlaceAlongEdge(Image* source, const Poly::Edge& edge, double s, Image* target, int frameX,
                    int w, int h)
{
    const double dx = edge.end.x - edge.start.x;
    const double dy = edge.end.y - edge.start.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0)
        return;
    const Point<int> size = source->GetFrameSize();
    ImagePtr strip(ImageEffects::ZoomImageXY(source, length / size.x, s, true));
    const int stripHeight = strip->GetFrameSize().y;
    const double angle =
        std::atan2(edge.start.x - edge.end.x, edge.start.y - edge.end.y) * kRadToDeg - 90;
    ImagePtr turned(ImageEffects::RotateImage(strip.get(), angle, -1, true));
    const Point<int> t = turned->GetFrameSize();
    const double mx = (edge.start.x + edge.end.x) / 2;
    const double my = (edge.start.y + edge.end.y) / 2;
    const double r = angle * -kDegToRad;
    // Moved inwards by half its height so the strip lies inside the outline.
    const double ox = -std::sin(r) * stripHeight / 2;
    const double oy = std::cos(r) * stripHeight / 2;
    int x = int(mx - t.x / 2.0 + ox);
    int y = int(my - t.y / 2.0 + oy);
    int sx = 0, sy = 0, cw = t.x, ch = t.y;
    if (x < 0) {
        sx = -x;
        cw += x;
        x = 0;
    }
    if (y < 0) {
        sy = -y;
        ch += y;
        y = 0;
    }
    cw = std::min(cw, w - x);
    ch = std::min(ch, h - y);
    if (cw <= 0 || ch <= 0)
        return;
    SDL_Rect src = DecorationRect(sx, sy, cw, ch);
    SDL_Rect dst = DecorationRect(frameX + x, y, cw, ch);
    turned->CompositeOnto(&src, target, &dst);
}

} // namespace

// The four strips of a rectangle (or the rim of a circle, or the strips along polygon
// edges) named by prefix, painted onto frame f.
static void ApplyStripSet(Brick& brick, const std::string& prefix, const std::string& circleName,
                          const std::string& polygonName, int mask, Image* image, int f, int w,
                          int h, double xScale, double yScale)
{
    const double s = std::min(brick.GetShapeWidth(), brick.GetShapeHeight()) / 48.0;
    const int fx = f * w;
    switch (brick.GetShape()) {
    case STRUCTURE_SHAPE_RECTANGLE:
        if (mask & BRICK_EDGE_TOP) {
            ImagePtr strip = Scaled(prefix + "Top.png", xScale, s);
            PlaceStrip(strip.get(), image, fx, 0, 0, w, h, false, false);
        }
        if (mask & BRICK_EDGE_BOTTOM) {
            ImagePtr strip = Scaled(prefix + "Bottom.png", xScale, s);
            const int sh = std::min(strip->GetFrameSize().y, h);
            PlaceStrip(strip.get(), image, fx, 0, h - sh, w, h, false, true);
        }
        if (mask & BRICK_EDGE_LEFT) {
            ImagePtr strip = Scaled(prefix + "Left.png", s, yScale);
            PlaceStrip(strip.get(), image, fx, 0, 0, w, h, false, false);
        }
        if (mask & BRICK_EDGE_RIGHT) {
            ImagePtr strip = Scaled(prefix + "Right.png", s, yScale);
            const int sw = std::min(strip->GetFrameSize().x, w);
            PlaceStrip(strip.get(), image, fx, w - sw, 0, w, h, true, false);
        }
        break;
    case STRUCTURE_SHAPE_CIRCLE:
        if (mask & 1) {
            ImagePtr rim = Scaled(circleName, yScale, yScale);
            PlaceStrip(rim.get(), image, fx, 0, 0, w, h, false, false);
        }
        break;
    case STRUCTURE_SHAPE_TRIMESH: {
        ImagePtr source(new Image(polygonName));
        const auto& edges = brick.GetPolygon().GetEdges();
        for (std::size_t k = 0; k < edges.size() && k < 31; ++k)
            if (mask & (1 << k))
                PlaceAlongEdge(source.get(), edges[k], s, image, fx, w, h);
        break;
    }
    default:
        break;
    }
}

void Brick::ApplyEdges(int w, int h, double xScale, double yScale)
{
    Image* image = GetImage();
    const int stages = image->GetNumFrames();
    for (int f = 0; f < stages; ++f) {
        if (m_ShowSteelEdges)
            ApplyStripSet(*this, "Edge.Metal.", "Edge.Metal.Circle.png", "Edge.Metal.Top.png",
                          m_ShowSteelEdges, image, f, w, h, xScale, yScale);
        if (m_ShowWeakEdges) {
            const int k = stages == 1 ? 5 : f - stages + 10;
            ApplyStripSet(*this, "Edge.Cracked." + std::to_string(k) + ".",
                          "Edge.Cracked.Circle.png", "Edge.Cracked.5.Top.png", m_ShowWeakEdges,
                          image, f, w, h, xScale, yScale);
        }
        if (m_GroutEdges)
            DrawGrout(image, f, w, h);
    }
    AddSpringEdges(w, h, xScale, yScale);
    if ((m_PhaseStrongTicks || m_PhaseWeakTicks) && !m_PhaseToInvisible)
        AddPhaseMarking(w, h, xScale, yScale);
    if (IsBevelled() && m_Resolution != -1)
        ClipToBevel(w, h);
}

void Brick::DrawGrout(Image* image, int frame, int w, int h)
{
    Canvas canvas(w, h, 0);
    std::unique_ptr<Image> lines(canvas.GetTargetImage());
    lines->Fade(0);
    const Color& c = m_GroutColor;
    if (GetShape() == STRUCTURE_SHAPE_RECTANGLE) {
        if (m_GroutEdges & BRICK_EDGE_TOP)
            canvas.DrawLine(0, 0, w - 1, 0, c);
        if (m_GroutEdges & BRICK_EDGE_BOTTOM)
            canvas.DrawLine(0, h - 1, w - 1, h - 1, c);
        if (m_GroutEdges & BRICK_EDGE_LEFT)
            canvas.DrawLine(0, 0, 0, h - 1, c);
        if (m_GroutEdges & BRICK_EDGE_RIGHT)
            canvas.DrawLine(w - 1, 0, w - 1, h - 1, c);
    } else if (GetShape() == STRUCTURE_SHAPE_CIRCLE) {
        canvas.DrawCircle(w / 2 - 1, h / 2 - 1, w / 2 - 1, c);
    } else {
        const auto& edges = GetPolygon().GetEdges();
        for (std::size_t k = 0; k < edges.size() && k < 31; ++k)
            if (m_GroutEdges & (1 << k))
                canvas.DrawLine(int(edges[k].start.x), int(edges[k].start.y), int(edges[k].end.x),
                                int(edges[k].end.y), c);
    }
    SDL_Rect dst = DecorationRect(frame * w, 0, w, h);
    lines->CompositeOnto(nullptr, image, &dst);
}

void Brick::AddSpringEdges(int w, int h, double xScale, double yScale)
{
    // Springs stick out of the brick: child actors, one set however many frames.
    while (Actor* old = GetChild("springEdge", false))
        DestroyChild(old);
    if (m_ShowSpringEdges) {
        auto addSpring = [this](Image* picture, int x, int y, double rotation) {
            Actor* spring = new Actor();
            spring->SetImage(picture, "");
            spring->SetPosition(x, y);
            LuaObject no;
            no.AssignBoolean(GetGlobalLuaState(), false);
            spring->ApplyProperty("selectable", no);
            if (rotation != 0)
                spring->SetRotation(rotation, Center, true);
            spring->ApplyStringProperty("name", "springEdge");
            AddChild(spring, "springEdge");
        };
        if (GetShape() == STRUCTURE_SHAPE_RECTANGLE) {
            const int m = m_ShowSpringEdges;
            if (m & BRICK_EDGE_RIGHT) {
                Image* p = Scaled("Edge.Spring.Right.png", yScale, yScale).release();
                addSpring(p, w, h / 2 - p->GetFrameSize().y / 2, 0);
            }
            if (m & BRICK_EDGE_LEFT) {
                Image* p = Scaled("Edge.Spring.Left.png", yScale, yScale).release();
                addSpring(p, -p->GetFrameSize().x, h / 2 - p->GetFrameSize().y / 2, 0);
            }
            if (m & BRICK_EDGE_TOP) {
                Image* p = Scaled("Edge.Spring.Top.png", xScale, xScale).release();
                addSpring(p, w / 2 - p->GetFrameSize().x / 2, -p->GetFrameSize().y, 0);
            }
            if (m & BRICK_EDGE_BOTTOM) {
                Image* p = Scaled("Edge.Spring.Bottom.png", xScale, xScale).release();
                addSpring(p, w / 2 - p->GetFrameSize().x / 2, h, 0);
            }
        } else if (GetShape() == STRUCTURE_SHAPE_CIRCLE) {
            Image* p = Scaled("Edge.Spring.Circle.png", xScale, xScale).release();
            addSpring(p, 0, 0, 0);
        } else if (GetShape() == STRUCTURE_SHAPE_TRIMESH) {
            const auto& edges = GetPolygon().GetEdges();
            for (std::size_t k = 0; k < edges.size() && k < 31; ++k) {
                if (!(m_ShowSpringEdges & (1 << k)))
                    continue;
                const auto& e = edges[k];
                const double dx = e.end.x - e.start.x, dy = e.end.y - e.start.y;
                ImagePtr source(new Image("Edge.Spring.Top.png"));
                Image* p = ImageEffects::ZoomImageXY(
                    source.get(), std::sqrt(dx * dx + dy * dy) / source->GetFrameSize().x, 1.0,
                    true);
                const double angle =
                    std::atan2(e.start.x - e.end.x, e.start.y - e.end.y) * kRadToDeg - 90;
                const int mx = int((e.start.x + e.end.x) / 2), my = int((e.start.y + e.end.y) / 2);
                addSpring(p, mx - p->GetFrameSize().x / 2, my - p->GetFrameSize().y / 2, angle);
            }
        }
    }
}

void Brick::AddPhaseMarking(int w, int h, double xScale, double yScale)
{
    if (Actor* old = GetChild("phaseEdges", false))
        DestroyChild(old);
    Image* marking = nullptr;
    if (GetShape() == STRUCTURE_SHAPE_CIRCLE) {
        marking = Scaled("Edge.Metal.Circle.png", yScale, yScale).release();
    } else if (GetShape() == STRUCTURE_SHAPE_RECTANGLE) {
        marking = Scaled("Edge.Metal.All.png", xScale, yScale).release();
    } else {
        marking = new Image(w, h, 1, IMAGE_SRCALPHA, Color::FromRGBA(0, 0, 0, 0));
        marking->Fade(0);
        ImagePtr source(new Image("Edge.Metal.Top.png"));
        const double s = std::min(GetShapeWidth(), GetShapeHeight()) / 48.0;
        for (const auto& e : GetPolygon().GetEdges())
            PlaceAlongEdge(source.get(), e, s, marking, 0, w, h);
    }
    Actor* phase = new Actor();
    phase->SetImage(marking, "");
    LuaObject no;
    no.AssignBoolean(GetGlobalLuaState(), false);
    phase->ApplyProperty("selectable", no);
    phase->SetDrawMode(DRAWMODE_DEFAULT);
    const double v = m_PhaseProgress / double(kPhaseChange);
    phase->SetAlpha(std::uint8_t(255 * (m_PhaseStrong ? 1 - v : v)));
    phase->ApplyStringProperty("name", "phaseEdges");
    AddChild(phase, "phaseEdges");
    if (m_Rotation != 0)
        phase->SetRotation(-m_Rotation, Center, false);
}

void Brick::ClipToBevel(int w, int h)
{
    Image* image = GetImage();
    const int stages = image->GetNumFrames();
    ImagePtr loaded(new Image(OutlineName(m_Resolution)));
    const Point<int> size = loaded->GetFrameSize();
    ImagePtr outline(ImageEffects::ZoomImageXY(loaded.get(), GetShapeWidth() / size.x,
                                               GetShapeHeight() / size.y, true));
    ImagePtr mask = StackedMask(outline.get(), w, h, stages);
    image->Clip(mask.get());
}

void Brick::ApplyOverlays(int w, int h)
{
    Image* image = GetImage();
    const int stages = image->GetNumFrames();
    auto overlay = [&](const char* name) {
        ImagePtr picture(new Image(name));
        if (h > w)
            picture.reset(ImageEffects::RotateImage(picture.get(), 90, -1, false));
        const Point<int> size = picture->GetFrameSize();
        ImagePtr scaled(
            ImageEffects::ZoomImageXY(picture.get(), double(w) / size.x, double(h) / size.y, true));
        if (GetShape() == STRUCTURE_SHAPE_CIRCLE)
            scaled->ClipToCircle(Point<int>(0, 0), float(GetRadius()));
        else if (GetShape() == STRUCTURE_SHAPE_TRIMESH)
            scaled->ClipToPoly(GetPolygon());
        for (int f = 0; f < stages; ++f)
            scaled->CompositeFrameOnto(image, f * w, 0, 0);
    };
    if (m_ShowHeals)
        overlay("Vines.png");
    if (m_ShowBallEater)
        overlay("BallEater.png");
}

void Brick::ApplyIcons(int w, int h, double, double)
{
    bool quarter = m_Rotation == 90 || m_Rotation == 270 || m_Rotation == -90;
    LuaObject noRotateValue;
    RetrieveProperty(noRotateValue, "noRotateIcons");
    const bool noRotate = noRotateValue.IsBoolean() && noRotateValue.GetBoolean();
    if (noRotate)
        quarter = false;
    const int iconSize = std::min(std::min(w, h), 32);
    if (iconSize <= 0)
        return;
    std::vector<ImagePtr> icons = CollectIcons(std::size_t((quarter ? h : w) / iconSize), iconSize);
    if (icons.empty())
        return;
    const bool rightAngle =
        m_Rotation == 90 || m_Rotation == 180 || m_Rotation == 270 || m_Rotation == -90;
    if (!noRotate && rightAngle)
        for (ImagePtr& icon : icons)
            icon.reset(ImageEffects::RotateImage(icon.get(), m_Rotation, -1, false));
    PlaceIcons(icons, w, h, iconSize, quarter);
}

std::vector<ImagePtr> Brick::CollectIcons(std::size_t slots, int iconSize)
{
    std::vector<ImagePtr> icons;
    auto add = [&](Image* source, bool owned) {
        ImagePtr keep(owned ? source : nullptr);
        if (icons.size() >= slots)
            return;
        ImagePtr frame(source->GetNumFrames() > 1 ? source->ExtractFrame(0) : nullptr);
        Image* picture = frame ? frame.get() : source;
        const double factor = std::min(0.8 * iconSize / picture->GetFrameSize().y, 1.0);
        icons.emplace_back(ImageEffects::ZoomImage(picture, factor, true));
    };
    auto addNamed = [&](const std::string& name) {
        if (icons.size() < slots)
            add(new Image(name), true);
    };
    if (m_ShowPowerup)
        for (Powerup* powerup : CreatePowerups())
            if (powerup->GetImage())
                add(powerup->GetImage(), false);
    if (m_ShowAnonymousPowerup)
        addNamed("Powerup.Anonymous.png");
    if (m_ShowTrappedBall) {
        if (m_TrappedBall && m_TrappedBall->GetImage())
            add(m_TrappedBall->GetImage(), false);
        else
            addNamed("TrappedBall.png");
    }
    if (m_ShowExplosivePower)
        addNamed(m_ExplodeAsLightning ? "SparkIcon.png" : "TNT.png");
    LuaObject names;
    GetScriptField(names, "icons");
    LuaPlus::ForEachListElement(names, [&](int, const LuaObject& name) {
        if (name.IsString())
            addNamed(name.GetString());
        return name.IsString();
    });
    for (int i = 0; i < m_ShowBallHopperSize && icons.size() < slots; ++i)
        add(HopperIcon(std::size_t(i)), true);
    return icons;
}

Image* Brick::HopperIcon(std::size_t slot)
{
    Image* hopper = new Image("BallHopper.png");
    Ball* held = SlotBall(slot);
    if (!held || !held->GetImage())
        return hopper;
    const Point<int> hs = hopper->GetFrameSize();
    const double k = hs.y / (2 * held->GetRadius());
    ImagePtr scaled(ImageEffects::ZoomImage(held->GetImage(), k, true));
    ImagePtr copy(hopper->Clone());
    delete hopper;
    hopper = copy.release();
    const Point<int> bs = scaled->GetFrameSize();
    scaled->CompositeFrameOnto(hopper, (hs.x - bs.x) / 2, (hs.y - bs.y) / 2, 0);
    return hopper;
}

void Brick::PlaceIcons(const std::vector<ImagePtr>& icons, int w, int h, int iconSize, bool quarter)
{
    int rowWidth = 0;
    for (const ImagePtr& icon : icons)
        rowWidth += quarter ? icon->GetFrameSize().y : icon->GetFrameSize().x;
    rowWidth += int(iconSize * 0.1 * double(icons.size() - 1));
    Image* image = GetImage();
    for (int f = 0; f < image->GetNumFrames(); ++f) {
        if (!quarter) {
            int x = (w - rowWidth) / 2 + f * w;
            for (const ImagePtr& icon : icons) {
                const Point<int> s = icon->GetFrameSize();
                icon->CompositeFrameOnto(image, x, int((h - s.y) * 0.5), 0);
                x = int(x + s.x + h * 0.1);
            }
        } else {
            int y = (h - rowWidth) / 2;
            for (const ImagePtr& icon : icons) {
                const Point<int> s = icon->GetFrameSize();
                icon->CompositeFrameOnto(image, int((w - s.x) * 0.5 + f * w), y, 0);
                y = int(y + s.y + h * 0.1);
            }
        }
    }
}
