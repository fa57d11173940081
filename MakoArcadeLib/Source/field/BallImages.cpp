// Ball: the shared cache of composed ball images and the drawing of one ball.
//
// The cache holds one image for every corona column (none, breakthru, lightning 1..3),
// substance and size: 5 x 4 x 7 = 140 images, built once from the pack's ball and corona
// pictures and freed at game shutdown. A ball only refers to a cache entry and scales it
// while it grows or shrinks.
#include "field/Ball.h"

#include "core/AppHost.h"
#include "core/Exception.h"
#include "core/ObjectBoundary.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "display/ImageRenderer.h"
#include "perf/PerformanceCounterManager.h"
#include "physics/PhysicsGeom.h"
#include "scene/ParticleEmitter.h"

#include <boost/format.hpp>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

const int kCoronaColumns = 5;
const int kSubstances = 4;
const int kSizes = 7;
const int kCacheSize = kCoronaColumns * kSubstances * kSizes;

const char* const kSubstanceNames[kSubstances] = {"None", "Lead", "Air", "Rubber"};
// The corona picture of each column (none for column 0); drawn around a 64-pixel ball.
const char* const kCoronaImages[kCoronaColumns] = {
    nullptr, "Corona.Breakthru.MacePts64.png", "Corona.Lightning.1.png", "Corona.Lightning.2.png",
    "Corona.Lightning.3.png"};
const double kCoronaBallSize = 64.0;

Image* s_Cache[kCacheSize] = {};
bool s_CacheBuilt = false;

int CacheIndex(int corona, int substance, int size)
{
    return (substance + kSubstances * corona) * kSizes + size;
}

// One composed image: the ball picture in the middle of every frame of the (zoomed)
// corona, the corona drawn over it. Each picture is made from the pack at this one place:
// a ball picture the pack lacks is named once and a plain disc of the ball's size stands in
// (a ball is needed to play); a corona the pack lacks is named once and the ball goes
// without it.
Image* ComposeBallImage(int corona, int substance, int size)
{
    const int diameter = int(2 * BallRadii[size]);
    const std::string ballName =
        boost::str(boost::format("Ball.%s.%d.png") % kSubstanceNames[substance] % diameter);
    std::unique_ptr<Image> ball;
    if (!ObjectBoundary::Guard("The ball picture \"" + ballName + "\"",
                               "a plain disc stands in for it",
                               [&] { ball = std::make_unique<Image>(ballName); })) {
        ball = std::make_unique<Image>(diameter, diameter, 1, IMAGE_SRCALPHA, Color(224, 224, 224));
        ball->ClipToCircle(Point<int>(0, 0), float(diameter) / 2.0f);
    }
    const int ballHeight = ball->GetFrameSize().y;
    std::unique_ptr<Image> halo;
    if (corona > 0)
        ObjectBoundary::Guard(
            [corona] { return "The ball corona \"" + std::string(kCoronaImages[corona]) + "\""; },
            "the balls go without it",
            [&] { halo = std::make_unique<Image>(std::string(kCoronaImages[corona])); });
    if (halo) {
        const double zoom = ballHeight / kCoronaBallSize;
        if (zoom != 1.0)
            halo.reset(ImageEffects::ZoomImage(halo.get(), zoom, true));
        // A corona that stands in for a damaged picture is no wider than the ball: the ball
        // goes without it.
        if (halo->GetFrameSize().x < ballHeight || halo->GetFrameSize().y < ballHeight)
            halo.reset();
    }
    const int side = halo ? halo->GetFrameSize().x : ballHeight;
    const int frames = halo ? halo->GetNumFrames() : 1;
    const int offset = (side - ballHeight) / 2;
    MAKO_ASSERT(offset >= 0);
    std::unique_ptr<Image> result(new Image(side, side, frames, IMAGE_SRCALPHA));
    result->Fill(Color(0, 0, 0, 0));
    for (int frame = 0; frame < frames; ++frame) {
        SDL_Rect dst = {Sint16(frame * side + offset), Sint16(offset), Uint16(ballHeight),
                        Uint16(ballHeight)};
        ball->CopyOnto(nullptr, result.get(), &dst);
    }
    if (halo) {
        const Point<int> size2 = halo->GetSize();
        SDL_Rect dst = {0, 0, Uint16(size2.x), Uint16(size2.y)};
        halo->CompositeOnto(nullptr, result.get(), &dst);
    }
    return result.release();
}

} // namespace

bool Ball::IsSubstance(const std::string& name)
{
    return std::find(std::begin(kSubstanceNames), std::end(kSubstanceNames), name) !=
           std::end(kSubstanceNames);
}

bool Ball::IsCorona(const std::string& name)
{
    return name == "None" || name == "Breakthru" || name == "Lightning" || name == "Glue";
}

void Ball::CreateBallImages()
{
    if (s_CacheBuilt)
        return;
    for (int c = 0; c < kCoronaColumns; ++c)
        for (int s = 0; s < kSubstances; ++s)
            for (int k = 0; k < kSizes; ++k) {
                const int i = CacheIndex(c, s, k);
                if (!s_Cache[i])
                    s_Cache[i] = ComposeBallImage(c, s, k);
            }
    s_CacheBuilt = true;
}

void Ball::FreeBallImages()
{
    for (Image*& image : s_Cache) {
        delete image;
        image = nullptr;
    }
    s_CacheBuilt = false;
}

Image* Ball::RetrieveBallImage(const std::string& corona, const std::string& substance,
                               int diameter, int lightningStrength)
{
    CreateBallImages();
    int column;
    if (corona == "None") {
        column = 0;
    } else if (corona == "Breakthru") {
        column = 1;
    } else if (corona == "Lightning") {
        MAKO_ASSERT_MSG(
            lightningStrength >= 1 && lightningStrength <= 3,
            boost::str(boost::format("Illegal lightning strength: %d") % lightningStrength));
        column = 1 + lightningStrength;
    } else {
        MAKO_THROW(Exception, boost::str(boost::format("Illegal corona name: %1%\nThe coronas "
                                                       "are None, Breakthru and Lightning.") %
                                         corona));
    }
    int row = -1;
    for (int s = 0; s < kSubstances; ++s)
        if (substance == kSubstanceNames[s])
            row = s;
    if (row < 0)
        MAKO_THROW(Exception, boost::str(boost::format("Illegal substance name: %1%\nThe "
                                                       "substances are None, Lead, Air and "
                                                       "Rubber.") %
                                         substance));
    unsigned radiusIndex = 0;
    while (radiusIndex < (sizeof(BallRadii) / sizeof(BallRadii[0])) &&
           int(2 * BallRadii[radiusIndex]) != diameter)
        ++radiusIndex;
    // clang-format off
    MAKO_ASSERT_MSG(radiusIndex < (sizeof(BallRadii)/sizeof(BallRadii[0])),
                    boost::str(boost::format("Illegal resolution: %d") % diameter));
    // clang-format on
    return s_Cache[CacheIndex(column, row, int(radiusIndex))];
}

void Ball::RefreshImage()
{
    // Glue has no column of its own: a glued ball shows its plain image.
    const std::string& corona = m_Corona == "Glue" ? std::string("None") : m_Corona;
    m_Image = RetrieveBallImage(corona, m_Substance, int(2 * m_ImageRadius), m_LightningStrength);
    m_ScaledImage.reset();
    m_ImageScale = 0.0; // forces RescaleImage to take the new image's scale
    RescaleImage();
    m_ImageInstalled = false;
    if (GetFrame() >= m_Image->GetNumFrames())
        SetFrame(0);
    if (!m_Active && !m_Paddle.Get()) {
        m_ShaderType = SHADERTYPE_BLENDCOMBINEDALPHA;
        SetAlpha(128);
    } else {
        m_ShaderType = SHADERTYPE_BLENDPIXELALPHA;
        SetAlpha(255);
    }
}

void Ball::RescaleImage()
{
    PerformanceCounterManager::AddToIntCounter("Calls to Ball::RescaleImage", 1);
    if (!m_Image)
        return;
    const double scale = GetRadius() / m_ImageRadius;
    if (scale != m_ImageScale) {
        m_ImageScale = scale;
        m_ImageInstalled = false;
        m_ScaledImage.reset();
    }
    const Point<double> centre =
        m_Geom ? m_Geom->GetCenter()
               : Point<double>(GetX() + GetWidth() / 2.0, GetY() + GetHeight() / 2.0);
    const Point<int> frame = m_Image->GetFrameSize();
    Actor::SetSize(int(frame.x * m_ImageScale), int(frame.y * m_ImageScale));
    SetPosition(int(std::lround(centre.x)) - GetWidth() / 2,
                int(std::lround(centre.y)) - GetHeight() / 2);
    CentreEmitters();
}

Image* Ball::GetScaledImage()
{
    if (!m_Image)
        return nullptr;
    if (m_ImageScale == 1.0)
        return m_Image;
    if (!m_ScaledImage)
        m_ScaledImage.reset(ImageEffects::ZoomImage(m_Image, m_ImageScale, true));
    return m_ScaledImage.get();
}

void Ball::Draw(Canvas& canvas)
{
    if (!m_Image)
        return;
    AppHost* host = GetAppHost();
    const int frame = std::min(GetFrame(), m_Image->GetNumFrames() - 1);
    const ShaderType shader = m_ShaderType == SHADERTYPE_RESERVED
                                  ? SHADERTYPE_BLENDPIXELALPHA
                                  : static_cast<ShaderType>(m_ShaderType);
    if (host && host->IsHWAccelEnabled()) {
        // The renderer scales the cached frame into the actor's rectangle.
        const SDL_Rect src = m_Image->GetFrameRect(frame);
        const CanvasState& state = canvas.GetState();
        const SDL_Rect dst = {Sint16(state.x), Sint16(state.y), Uint16(GetWidth()),
                              Uint16(GetHeight())};
        canvas.GetRenderer()->DrawImage(m_Image, shader, &dst, &src, GetAlpha(), 0.0, 0u);
        return;
    }
    Image* scaled = GetScaledImage();
    const SDL_Rect src = scaled->GetFrameRect(frame);
    const CanvasState& state = canvas.GetState();
    const SDL_Rect dst = {Sint16(state.x), Sint16(state.y), src.w, src.h};
    canvas.GetRenderer()->DrawImage(scaled, shader, &dst, &src, GetAlpha(), 0.0, 0u);
    m_ImageInstalled = true;
}
