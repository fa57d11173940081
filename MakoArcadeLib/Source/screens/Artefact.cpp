#include "screens/Artefact.h"
#include "resources/MetadataRanges.h"

#include "core/Class.h"
#include "core/DataRange.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/PropertyAccessor.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/FlyingText.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/GameProgress.h"
#include "lua/ScriptValueReaders.h"
#include "resources/ResourceManager.h"
#include "scene/IdenticalParticleEmitter.h"
#include "sound/Sound.h"

#include <SDL.h>

#include <memory>

using LuaPlus::LuaObject;

const char* const Artefact::kDefaultName = "artifactScream.jpg";

MAKO_IMPLEMENT_CLASS(Artefact, "Artefact", "Actor", &Artefact::RegisterProperties,
                     &InstantiateObjectOfClass<Artefact>);

namespace {

const char* const kGoneImage = "artifactGone.png";
const char* const kRevealSound = "Pickup_Magic34.ogg";
const char* const kClickSound = "click2.ogg";
const char* const kSparkles = "SparkleExplosionEmitterBigWhite";
// The flying score of a reveal: its lifetime in 30 ms frames and its start velocity.
const int kScoreLifetime = 50;
const double kScoreVelocityX = 2.0;
const double kScoreVelocityY = -20.0;
const std::uint8_t kHighlightAlpha = 64;
const int kHighlightZOrder = 10;

} // namespace

// ---- Construction -------------------------------------------------------------------------

Artefact::Artefact() : Artefact(kDefaultName) {}

Artefact::Artefact(const std::string& name) : m_Hover(*this)
{
    SetName(name);
    SetFrame(0);
}

Artefact::~Artefact() = default;

// ---- Texts --------------------------------------------------------------------------------

std::string Artefact::ReadText(const char* field) const
{
    const LuaObject table = GameProgress::ConfigTable("Artifacts");
    if (!table.IsTable())
        return m_ArtefactName;
    const LuaObject entry = table[m_ArtefactName.c_str()];
    if (!entry.IsTable())
        return m_ArtefactName;
    const LuaObject text = entry[field];
    return text.IsString() ? std::string(text.GetString()) : m_ArtefactName;
}

std::string Artefact::GetTitle() const
{
    return ReadText("title");
}

std::string Artefact::GetArtist() const
{
    return ReadText("artist");
}

std::string Artefact::GetDescription() const
{
    return ReadText("description");
}

// ---- Picture ------------------------------------------------------------------------------

int Artefact::ShownFrame(int wanted) const
{
    const Image* image = GetImage();
    const int frames = image ? image->GetNumFrames() : 1;
    return wanted < frames ? wanted : frames - 1;
}

void Artefact::SetName(const std::string& name)
{
    m_ArtefactName = name;
    m_Missing = false;
    LoadOwnImage();
    UpdateAlignment();
    m_OriginalWidth = GetWidth();
    m_OriginalHeight = GetHeight();
    SetFrame(ShownFrame(1));
    ReapplyConstrainWidth();
    if (m_Highlight)
        m_Highlight->SetSize(GetWidth(), GetHeight());
}

void Artefact::LoadOwnImage()
{
    // Frames exist in every picture; the one shown must exist in the new one too.
    m_Frame = 0;
    // The class's defaults are read from an artefact made before any resources exist.
    if (!GetResourceManager())
        return;
    std::string why;
    if (ObjectBoundary::Contain([&] { SetImageFromResource(m_ArtefactName); }, &why))
        return;
    // A load a stop cut short is no fault of the picture.
    if (ObjectBoundary::FaultOf(nullptr) != ObjectBoundary::Fault::Stop)
        Log("Artefact \"%s\": no picture (%s); it shows as gone\n", m_ArtefactName.c_str(),
            why.c_str());
    SetImageFromResource(kGoneImage);
}

void Artefact::SetMissing(bool missing)
{
    m_Missing = missing;
    if (missing && GetResourceManager()) {
        SetFrame(0);
        std::unique_ptr<Image> gone(NewImageFromResource(kGoneImage));
        const Point<int> size = gone->GetFrameSize();
        // The gone picture takes the place the artefact's own would: its size, held to
        // the constrain width as the picture would be.
        const double fit = m_ConstrainWidth > 0.0 && m_OriginalWidth > m_ConstrainWidth
                               ? m_ConstrainWidth / m_OriginalWidth
                               : 1.0;
        if (size.x > 0 && size.y > 0 && m_OriginalWidth > 0 && m_OriginalHeight > 0) {
            Image* scaled = ImageEffects::ZoomImageXY(gone.get(), fit * m_OriginalWidth / size.x,
                                                      fit * m_OriginalHeight / size.y, true);
            SetImage(scaled, kGoneImage);
        } else {
            SetImage(gone.release(), kGoneImage);
        }
    } else {
        LoadOwnImage();
        SetFrame(ShownFrame(m_Covered ? 0 : 1));
        ReapplyConstrainWidth();
    }
    UpdateAlignment();
    if (m_Highlight)
        m_Highlight->SetSize(GetWidth(), GetHeight());
}

void Artefact::SetConstrainWidth(double width)
{
    m_ConstrainWidth = width;
    if (m_Missing) {
        // The gone picture is drawn anew at the constrained size.
        SetMissing(true);
        return;
    }
    if (width <= 0.0 || m_OriginalWidth <= width || !GetImage())
        return;
    // Scaled from the picture at its own size, so applying a width twice scales once.
    if (GetWidth() != static_cast<int>(m_OriginalWidth))
        LoadOwnImage();
    const int frame = m_Frame;
    const double factor = width / m_OriginalWidth;
    Image* scaled = ImageEffects::ZoomImageXY(GetImage(), factor, factor, true);
    const std::string name = GetImageName();
    m_Frame = 0;
    SetImage(scaled, name);
    SetFrame(ShownFrame(frame));
    UpdateAlignment();
    if (m_Highlight)
        m_Highlight->SetSize(GetWidth(), GetHeight());
}

void Artefact::ReapplyConstrainWidth()
{
    if (m_ConstrainWidth != 0.0)
        SetConstrainWidth(m_ConstrainWidth);
}

// ---- Covering and the reveal --------------------------------------------------------------

void Artefact::SetCovered(bool covered, ArcadeGameLogic* logic)
{
    m_Covered = covered;
    SetFrame(ShownFrame(covered ? 0 : 1));
    if (covered)
        return;
    Sound::PlaySound(kRevealSound, false);
    if (!logic)
        return;
    if (m_Score != 0) {
        auto* text =
            new FlyingText(FormatWithThousandsSeparators(m_Score), kScoreLifetime,
                           GetX() + GetWidth() / 2.0, GetY(), kScoreVelocityX, kScoreVelocityY);
        logic->AddFlyingText(text);
        logic->AddScore(m_Score);
    }
    ParticleManager* particles = ArcadeGameLogic::GetParticleManager();
    if (!particles)
        return;
    const int corners[4][2] = {{GetX(), GetY()},
                               {GetX() + GetWidth(), GetY()},
                               {GetX(), GetY() + GetHeight()},
                               {GetX() + GetWidth(), GetY() + GetHeight()}};
    for (const auto& corner : corners) {
        auto* emitter = new IdenticalParticleEmitter(kSparkles, particles);
        emitter->SetPosition(corner[0], corner[1]);
        logic->AddEmitter(emitter);
        emitter->Start();
    }
}

// ---- Button -------------------------------------------------------------------------------

void Artefact::MakeButton(EventReceiver* receiver)
{
    m_PressOffsetX = 1;
    m_PressOffsetY = 1;
    m_Active = true;
    SetPressHeld(false);
    if (receiver)
        AddEventReceiver(receiver);
    if (!m_Highlight) {
        AddPressStates(*this, *this, m_Hover);
        m_Highlight = Actor::CreateColorRect(Palette::LightYellow, 0, 0, GetWidth(), GetHeight(),
                                             kHighlightZOrder, nullptr);
        m_Highlight->SetFlags(m_Highlight->GetFlags() | 1);
        m_Highlight->SetAlpha(kHighlightAlpha);
        m_Highlight->SetVisible(false, false);
        AddChild(m_Highlight, "ArtefactHighlight");
    }
    SetState("Active");
}

bool Artefact::Deactivate()
{
    const bool was = m_Active;
    m_Active = false;
    return was;
}

void Artefact::EnterPressState(PressState state)
{
    ShowHighlight(state != PRESS_ACTIVE);
    if (state == PRESS_PRESSED) {
        SetPosition(GetX() + m_PressOffsetX, GetY() + m_PressOffsetY);
        Report(MAKO_BUTTONPRESS);
    }
}

void Artefact::LeavePressState(PressState state)
{
    if (state == PRESS_PRESSED)
        SetPosition(GetX() - m_PressOffsetX, GetY() - m_PressOffsetY);
}

void Artefact::ShowHighlight(bool show)
{
    if (m_Highlight)
        m_Highlight->SetVisible(show, false);
}

void Artefact::Report(std::uint8_t type)
{
    void* self = static_cast<Object*>(this);
    if (!HasEventReceivers() && GetParent())
        GetPostedEventQueue().Post(GetParent(), type, 0, self);
    PostEvent(type, self);
}

bool Artefact::OnMouseMotion(const Event& event)
{
    m_Hover.Update(*this, event.motion.x, event.motion.y);
    return false;
}

bool Artefact::OnButtonPress(const Event& event)
{
    if (EventData1(event) != static_cast<Object*>(this) || !IsVisible() || !m_Active)
        return false;
    Sound::PlaySound(kClickSound, false);
    return true;
}

// ---- Properties ---------------------------------------------------------------------------

void Artefact::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "score")
        m_Score = ReadIntegerFromObject(value);
    else if (name == "missing")
        SetMissing(ReadBooleanFromObject(value));
    else if (name == "constrainWidth") {
        // A width from data: held to what a picture may be (none past a surface's side, NaN
        // none at all, 0 no constraint), and a width above 0 to one that leaves the
        // picture its pixels (kLeastConstrainWidth), said where the artefact is made (its
        // level).
        double width = DataRange::Read(std::string(), "constrainWidth", ReadNumberFromObject(value),
                                       0.0, double(MetadataRanges::kMaxSide), 0.0);
        if (width > 0.0)
            width = DataRange::Read(std::string(), "constrainWidth", width, kLeastConstrainWidth,
                                    double(MetadataRanges::kMaxSide), kLeastConstrainWidth);
        SetConstrainWidth(width);
    } else if (name == "isButton")
        MakeButton(this);
    else if (name == "active")
        m_Active = ReadBooleanFromObject(value);
    else if (name == "artefact")
        SetName(ReadStringFromObject(value));
    else
        Actor::ApplyClassicProperty(name, value);
}

void Artefact::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    table.SetInteger("score", m_Score);
    table.SetBoolean("missing", m_Missing);
    table.SetNumber("constrainWidth", m_ConstrainWidth);
    table.SetBoolean("active", m_Active);
    table.SetString("artefact", m_ArtefactName);
}

void Artefact::RegisterProperties(Class& c)
{
    for (const char* name :
         {"score", "missing", "constrainWidth", "isButton", "active", "artefact"}) {
        c.RegisterPropertySetter(MakeClassicAccessor(name));
        if (std::string(name) != "isButton")
            c.RegisterPropertyGetter(MakeClassicAccessor(name));
    }
    c.BuildDefaults();
}
