// Actor: alignment inside the parent, rotation about a pivot, slides, fades and the
// choice of drawing shader.
#include "scene/Actor.h"

#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/TimerManager.h"
#include "core/ValueTypeError.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "scene/SceneHost.h"

#include <boost/format.hpp>

using LuaPlus::LuaObject;

namespace {

// How far the alignment point of `a` lies from the same point of `b` (both at 0, 0).
Point<int> AlignmentShift(int alignment, const SDL_Rect& a, const SDL_Rect& b)
{
    RectAlignmentPointFunc point = GetRectAlignmentPoint(static_cast<RectAlignment>(alignment));
    if (!point)
        return Point<int>(0, 0);
    return point(a) - point(b);
}

const char* const kShaderNames[] = {"SHADERTYPE_RESERVED", "SHADERTYPE_COPY",
                                    "SHADERTYPE_BLENDPIXELALPHA", "SHADERTYPE_BLENDCONSTANTALPHA",
                                    "SHADERTYPE_BLENDCOMBINEDALPHA"};

} // namespace

ShaderType ShaderTypeFromString(const std::string& name)
{
    for (int i = 0; i < 5; ++i)
        if (name == kShaderNames[i])
            return static_cast<ShaderType>(i);
    std::string known;
    for (int i = 0; i < 5; ++i)
        known += std::string(i == 0 ? "" : i == 4 ? " and " : ", ") + kShaderNames[i];
    MAKO_THROW(
        ApplyPropertyError,
        boost::str(boost::format("Unknown shaderTypeString: %1%\nThe shader types are %2%.") %
                   name % known));
}

// ---- Alignment ----------------------------------------------------------------------------

void Actor::SetAlignment(RectAlignment alignment)
{
    m_Alignment = alignment;
    UpdateAlignment();
}

void Actor::SetAlignmentOffset(int dx, int dy)
{
    m_AlignOffsetX = dx;
    m_AlignOffsetY = dy;
    UpdateAlignment();
}

void Actor::UpdateAlignment()
{
    if (m_Alignment == NoAlignment || !m_Parent)
        return;
    RectAligner align = GetRectAligner(m_Alignment);
    const RectAlignment target = m_AlignTo != NoAlignment ? m_AlignTo : m_Alignment;
    RectAlignmentPointFunc point = GetRectAlignmentPoint(target);
    if (!align || !point)
        return;
    const Point<int> p = point(MakeRect(0, 0, m_Parent->m_Width, m_Parent->m_Height));
    SDL_Rect rect = GetRect();
    align(rect, p.x, p.y);
    SetPosition(rect.x + m_AlignOffsetX, rect.y + m_AlignOffsetY);
    for (auto it = m_Children.rbegin(); it != m_Children.rend(); ++it)
        (*it)->UpdateAlignment();
}

// ---- Rotation -----------------------------------------------------------------------------

void Actor::SetRotation(double degrees, int rotationAlignment, bool force)
{
    if (!force && degrees == m_Rotation && rotationAlignment == m_RotationAlignment)
        return;
    m_Rotation = degrees;
    if (rotationAlignment >= 0)
        m_RotationAlignment = static_cast<RectAlignment>(rotationAlignment);
    m_RotatedImage.reset();
    // Without a rotated image there is no offset: a stale one would shift a later
    // colour fill, which is drawn at the rotation offset.
    m_RotationOffsetX = m_RotationOffsetY = 0;
    if (m_Rotation == 0.0 || !m_Image)
        return;
    m_RotatedImage.reset(ImageEffects::RotateImage(m_Image.get(), m_Rotation, m_Frame, true));
    m_RotatedImage->SetAlpha(m_Alpha);
    const Point<int> original = m_Image->GetFrameSize();
    const Point<int> rotated = m_RotatedImage->GetFrameSize();
    const SDL_Rect a = MakeRect(0, 0, original.x, original.y);
    const SDL_Rect b = MakeRect(0, 0, rotated.x, rotated.y);
    const Point<int> offset =
        AlignmentShift(m_Alignment, a, b) + AlignmentShift(m_RotationAlignment, a, b);
    m_RotationOffsetX = offset.x;
    m_RotationOffsetY = offset.y;
}

// ---- Slides -------------------------------------------------------------------------------

void Actor::SlideTo(int x, int y, int durationMs)
{
    m_SlideTargetX = x;
    m_SlideTargetY = y;
    if (durationMs <= 0) {
        m_Sliding = false;
        SetPosition(x, y);
        GetPostedEventQueue().PostByName("MAKO_SLIDECOMPLETE");
        return;
    }
    m_Sliding = true;
    const int frame = int(FRAME_PERIOD_MS);
    m_SlideStepsLeft = durationMs / frame;
    m_SlideStepX = ((x - m_X) * frame) / durationMs;
    m_SlideStepY = ((y - m_Y) * frame) / durationMs;
}

// ---- Fades --------------------------------------------------------------------------------

void Actor::KillFadeTimer()
{
    if (m_FadeTimer == 0)
        return;
    if (TimerManager* timers = SceneHost::GetTimerManager())
        timers->KillTimer(m_FadeTimer);
    m_FadeTimer = 0;
}

void Actor::FadeOut(int durationMs, bool kill)
{
    KillFadeTimer();
    m_FadeMode = FADE_OUT;
    m_FadeStep = 0;
    m_FadeSteps = durationMs / 30;
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_FadeTimer = timers->CreateTimer(this, static_cast<std::uint32_t>(std::max(durationMs, 0)),
                                          1, TIMER_LIMITED_TO_FRAMERATE);
    m_KillWhenFaded = kill ? 1 : 0;
    m_ShaderType = SHADERTYPE_BLENDCOMBINEDALPHA;
    SetAlpha(255);
}

void Actor::FadeIn(int durationMs)
{
    KillFadeTimer();
    m_FadeMode = FADE_IN;
    m_FadeStep = 0;
    m_FadeSteps = durationMs / 30;
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_FadeTimer = timers->CreateTimer(this, static_cast<std::uint32_t>(std::max(durationMs, 0)),
                                          1, TIMER_LIMITED_TO_FRAMERATE);
    m_ShaderType = SHADERTYPE_BLENDCOMBINEDALPHA;
    SetAlpha(0);
}

void Actor::StopFade()
{
    KillFadeTimer();
    m_FadeMode = FADE_NONE;
}

void Actor::FinishFade()
{
    // The timer may fire before the last step was ticked: the fade ends at its end value.
    SetAlpha(m_FadeMode == FADE_IN ? 255 : 0);
    if (m_FadeMode == FADE_OUT) {
        SetVisible(false, false);
        KillFadeTimer();
        m_FadeMode = FADE_NONE;
        if (m_KillWhenFaded)
            Kill();
    } else {
        StopFade();
    }
    m_ShaderType = SHADERTYPE_BLENDPIXELALPHA;
}

bool Actor::OnTimer(const Event& event)
{
    const std::uint32_t id = static_cast<std::uint32_t>(EventData1Int(event));
    if (m_FadeMode == FADE_NONE || m_FadeTimer == 0 || id != m_FadeTimer)
        return false;
    FinishFade();
    return true;
}

// ---- Shader -------------------------------------------------------------------------------

void Actor::SetShaderType(const LuaObject& value)
{
    if (value.IsNumber()) {
        m_ShaderType = value.GetInteger();
        return;
    }
    if (value.IsString()) {
        m_ShaderType = ShaderTypeFromString(value.GetString());
        return;
    }
    MAKO_THROW_VALUE_TYPE_SAYING(
        boost::str(boost::format("shaderTypeObject has the unusable type: %1%") % value.TypeName()),
        "a shader type name or number", value);
}
