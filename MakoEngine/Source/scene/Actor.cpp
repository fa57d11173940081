#include "scene/Actor.h"

#include "core/Class.h"
#include "core/DataReport.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "display/ImageRenderer.h"
#include "lua/MakoLuaState.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "scene/ActorGroup.h"
#include "scene/Animation.h"
#include "scene/FlattenedActor.h"
#include "scene/LayoutManager.h"
#include "scene/SceneHost.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Actor, "Actor", "Object", &Actor::RegisterProperties,
                     &InstantiateObjectOfClass<Actor>);

// ---- Construction -------------------------------------------------------------------------

namespace {
int gLiveActors = 0;
} // namespace

int Actor::GetLiveCount()
{
    return gLiveActors;
}

Actor::Actor()
{
    ++gLiveActors;
}

// The constructors that apply properties first make the plain actor (they delegate to
// Actor()), so an error from the properties, a stop or a meter's end met while they are
// applied, destroys the actor whole: its destructor lets go of the children, groups, timers
// and registrations made so far.
Actor::Actor(const LuaObject& params) : Actor()
{
    ApplyProperties(params);
}

Actor::Actor(const Color& color) : Actor()
{
    m_Color = color;
    m_DrawMode = DRAWMODE_COLOR;
}

Actor::Actor(const std::string& resourceName) : Actor()
{
    LogAtLevel(3, "Actor:: Actor %s\n", resourceName.c_str());
    LuaObject params;
    params.AssignNewTable(GetGlobalLuaState());
    params.SetString("resource", resourceName);
    LogAtLevel(3, "Actor:: Init(params)\n");
    ApplyProperties(params);
}

Actor::~Actor()
{
    --gLiveActors;
    SceneHost::Forget(this);
    if (m_Parent)
        m_Parent->RemoveChild(this);
    LeaveAllGroups();
    m_Image.reset();
    m_RotatedImage.reset();
    m_FlattenedActor.reset();
    KillFadeTimer();
    // The children leave the list before any of them is deleted, so their own
    // destructors find no parent to detach from. Dead children wait for the dead-actor
    // list and survivors stay where they are: both only lose their parent pointer.
    std::list<Actor*> children;
    children.swap(m_Children);
    ++m_ChildListVersion;
    for (Actor* child : children)
        child->m_Parent = nullptr;
    for (Actor* child : children)
        if (!child->m_Survive && !child->m_Dead)
            delete child;
    for (ActorGroup* group : m_CreatedGroups)
        delete group;
    m_CreatedGroups.clear();
    m_OwnedGroups.clear();
}

Actor* Actor::CreateFromResource(const std::string& name)
{
    std::unique_ptr<Actor> actor(new Actor());
    actor->AcquireAndApplyResource(name);
    return actor.release();
}

Actor* Actor::Create(const std::string& resourceName, int x, int y, int zorder,
                     EventReceiver* receiver)
{
    std::unique_ptr<Actor> actor(new Actor(resourceName));
    actor->SetPosition(x, y);
    actor->m_ZOrder = zorder;
    if (receiver)
        actor->AddEventReceiver(receiver);
    return actor.release();
}

Actor* Actor::CreateColorRect(const Color& color, int x, int y, int width, int height, int zorder,
                              EventReceiver* receiver)
{
    Actor* actor = new Actor(color);
    actor->SetPosition(x, y);
    actor->m_Width = static_cast<std::uint16_t>(width);
    actor->m_Height = static_cast<std::uint16_t>(height);
    actor->m_ZOrder = zorder;
    if (receiver)
        actor->AddEventReceiver(receiver);
    return actor;
}

Image* Actor::NewImageFromResource(const std::string& name)
{
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT_MSG(manager != 0, boost::str(boost::format("No resource manager exists to "
                                                           "acquire \"%1%\".") %
                                             name));
    return new Image(manager->AcquireOfKind(name, RESOURCE_IMAGE));
}

// ---- Tick ---------------------------------------------------------------------------------

bool Actor::CanTick() const
{
    return !m_Dead && (!SceneHost::IsGamePaused() || (m_Flags & ACTORFLAG_TICK_WHILE_PAUSED));
}

template <typename Step> void Actor::RunInBoundary(const Step& step)
{
    if (!ObjectBoundary::Guard([this] { return DescribeObject(*this); }, "it is left out of play",
                               step))
        m_LeftOut = true;
}

void Actor::Tick()
{
    MAKO_ASSERT(CanTick() == true);
    Object::Tick();
    const bool paused = SceneHost::IsGamePaused();
    ForEachChild(false, [paused](Actor* child) {
        if (!child->m_Dead && !child->m_LeftOut &&
            (!paused || (child->m_Flags & ACTORFLAG_TICK_WHILE_PAUSED)))
            child->RunInBoundary([child] { child->Tick(); });
        return false;
    });

    if (m_Sliding) {
        m_X = static_cast<std::int16_t>(m_X + m_SlideStepX);
        m_Y = static_cast<std::int16_t>(m_Y + m_SlideStepY);
        if (m_SlideStepsLeft-- <= 0) {
            m_Sliding = false;
            SetPosition(m_SlideTargetX, m_SlideTargetY);
            GetPostedEventQueue().PostByName("MAKO_SLIDECOMPLETE");
        }
    }

    if (m_FadeMode != FADE_NONE) {
        ++m_FadeStep;
        // A fade shorter than one step is complete at its first tick; ticks past the last
        // step stay at the end value.
        double f = m_FadeSteps > 0 ? static_cast<double>(m_FadeStep) / m_FadeSteps : 1.0;
        f = std::min(1.0, std::max(0.0, f));
        double v = 1.0 - f;
        if (m_FadeMode == FADE_IN) {
            SetVisible(true, false);
            v = f;
        }
        SetAlpha(static_cast<std::uint8_t>(static_cast<int>(v * 255.0)));
        // Without a timer manager nothing else ends the fade.
        if (m_FadeTimer == 0 && m_FadeStep >= m_FadeSteps)
            FinishFade();
    }
}

// ---- Render and Draw ----------------------------------------------------------------------

void Actor::Render(Canvas& canvas)
{
    if (!m_Visible || m_Dead)
        return;
    canvas.PushState();
    canvas.Translate(m_X, m_Y);
    if (m_FlattenedActor && m_FlattenedActor->GetCanvas() != &canvas) {
        m_FlattenedActor->Render(canvas);
        canvas.PopState();
        return;
    }
    auto renderChildren = [this, &canvas] {
        ForEachChild(false, [&canvas](Actor* child) {
            if (!(child->m_Flags & ACTORFLAG_NO_RENDER) && !child->m_LeftOut) {
                const int depth = canvas.GetDepth();
                child->RunInBoundary([child, &canvas] { child->Render(canvas); });
                while (canvas.GetDepth() > depth)
                    canvas.PopState();
            }
            return false;
        });
    };
    if (m_ChildrenBehind) {
        renderChildren();
        Draw(canvas);
    } else {
        Draw(canvas);
        renderChildren();
    }
    canvas.PopState();
}

void Actor::Draw(Canvas& canvas)
{
    canvas.PushState();
    int frame = m_Frame;
    if (!m_Image || m_RotatedImage) {
        canvas.Translate(m_RotationOffsetX, m_RotationOffsetY);
        frame = 0;
    }
    if (m_DrawMode & DRAWMODE_COLORFILL) {
        Color color = m_Color;
        color.a = m_Alpha;
        canvas.FillRect(MakeRect(0, 0, m_Width, m_Height), color);
    } else if (m_Image) {
        Image* source = GetCurrentImage();
        const SDL_Rect src = source->GetFrameRect(frame);
        const CanvasState& state = canvas.GetState();
        const SDL_Rect dst = MakeRect(state.x, state.y, src.w, src.h);
        const ShaderType shader = m_ShaderType == SHADERTYPE_RESERVED
                                      ? SHADERTYPE_BLENDPIXELALPHA
                                      : static_cast<ShaderType>(m_ShaderType);
        canvas.GetRenderer()->DrawImage(source, shader, &dst, &src, m_Alpha, 0.0,
                                        (m_DrawMode & DRAWMODE_RENDERER_FLAG) ? 1u : 0u);
    }
    canvas.PopState();
}

// ---- Events -------------------------------------------------------------------------------

bool Actor::OnEvent(const Event& event)
{
    if (Object::OnEvent(event))
        return true;
    if (!m_OwnedGroups.empty()) {
        std::vector<ActorGroup*> groups(m_OwnedGroups.begin(), m_OwnedGroups.end());
        for (ActorGroup* group : groups) {
            if (std::find(m_OwnedGroups.begin(), m_OwnedGroups.end(), group) == m_OwnedGroups.end())
                continue;
            if (group->OnEvent(event))
                return true;
        }
    }
    return ForEachChild(true, [&event](Actor* child) { return child->OnEvent(event); });
}

void Actor::AddEventReceiver(EventReceiver* receiver)
{
    if (!m_ReceiverGroup.Contains(receiver))
        m_ReceiverGroup.Append(receiver);
}

void Actor::PostEvent(std::uint8_t type, void* data)
{
    GetPostedEventQueue().Post(&m_ReceiverGroup, type, 0, data, nullptr);
}

// ---- Children -----------------------------------------------------------------------------

void Actor::SetFlags(std::uint32_t flags)
{
    m_Flags = flags;
    for (Actor* child : m_Children)
        child->SetFlags(flags);
}

void Actor::AddChild(Actor* child, const std::string& name)
{
    (void)name;
    MAKO_ASSERT_MSG(child != nullptr, "Actor::AddChild child = NULL");
    MAKO_ASSERT_MSG(child != this, "An actor cannot be its own child.");
    // A child lives in one list only: whoever held it before lets it go.
    if (child->m_Parent)
        child->m_Parent->RemoveChild(child);
    child->SetFlags((m_InheritedFlagsMask & m_Flags) | child->m_Flags);
    child->SetParent(this);
    ++m_ChildListVersion;
    if (m_Flags & ACTORFLAG_UNSORTED) {
        child->m_PlaceInParent = m_Children.insert(m_Children.end(), child);
        return;
    }
    auto later = std::find_if(m_Children.begin(), m_Children.end(),
                              [child](const Actor* a) { return a->m_ZOrder > child->m_ZOrder; });
    if (later != m_Children.end()) {
        child->m_PlaceInParent = m_Children.insert(later, child);
        return;
    }
    child->m_PlaceInParent = m_Children.insert(m_Children.end(), child);
    if (m_LayoutManager)
        m_LayoutManager->LayoutContainer(this);
}

void Actor::RemoveChild(Actor* child)
{
    // The check is spelled as its failure report quotes it.
    // clang-format off
    MAKO_ASSERT_MSG(child!=0, "Actor::RemoveChild child = NULL");
    // clang-format on
    if (child == m_Animation)
        m_Animation = nullptr;
    if (child->m_Parent == this)
        m_Children.erase(child->m_PlaceInParent);
    else
        m_Children.remove(child);
    child->SetParent(nullptr);
    ++m_ChildListVersion;
    if (m_LayoutManager)
        m_LayoutManager->LayoutContainer(this);
}

void Actor::SetParent(Actor* parent)
{
    m_Parent = parent;
    UpdateAlignment();
}

void Actor::DestroyChild(Actor* child)
{
    // The check is spelled as its failure report quotes it.
    // clang-format off
    MAKO_ASSERT_MSG(child!=0, "Actor::DestroyChild child = NULL");
    // clang-format on
    RemoveChild(child);
    child->Kill();
}

void Actor::DestroyChildren()
{
    std::vector<Actor*> doomed;
    for (Actor* child : m_Children)
        if (!child->m_Survive)
            doomed.push_back(child);
    for (Actor* child : doomed)
        if (child->m_Parent == this)
            DestroyChild(child);
}

void Actor::Kill()
{
    if (m_Dead)
        return;
    m_Dead = true;
    LeaveAllGroups();
    SceneHost::ScheduleForDeletion(this);
    DestroyChildren();
}

// ---- Groups -------------------------------------------------------------------------------

void Actor::AddGroup(ActorGroup* group)
{
    m_OwnedGroups.push_back(group);
    LuaObject* payload = new LuaObject;
    payload->AssignNewTable(GetGlobalLuaState());
    payload->SetLightUserData("group", group);
    NotifyObservers(MAKO_CHILDGROUPADDED, payload);
}

void Actor::AddedToGroup(ActorGroup* group)
{
    m_Memberships.push_back(group);
}

void Actor::RemovedFromGroup(ActorGroup* group)
{
    m_Memberships.remove(group);
}

void Actor::LeaveAllGroups()
{
    std::vector<ActorGroup*> groups(m_Memberships.begin(), m_Memberships.end());
    for (ActorGroup* group : groups) {
        group->RemoveOccurrences(this);
        RemovedFromGroup(group);
    }
}

ActorGroup* Actor::FindGroup(const std::string& name, bool recursive) const
{
    for (ActorGroup* group : m_OwnedGroups)
        if (group->GetName() == name)
            return group;
    if (recursive)
        for (const Actor* child : m_Children)
            if (ActorGroup* found = child->FindGroup(name, true))
                return found;
    return nullptr;
}

// ---- Look-ups and coordinates -------------------------------------------------------------

Actor* Actor::GetChild(const std::string& name, bool recursive) const
{
    for (Actor* child : m_Children) {
        if (!child->m_Dead && child->GetName() == name)
            return child;
        if (recursive)
            if (Actor* found = child->GetChild(name, true))
                return found;
    }
    return nullptr;
}

bool Actor::HasChild(const Actor* child, bool recursive) const
{
    for (const Actor* c : m_Children) {
        if (c == child)
            return true;
        if (recursive && c->HasChild(child, true))
            return true;
    }
    return false;
}

Point<int> Actor::LocalToGlobal(int x, int y) const
{
    for (const Actor* a = this; a && a->m_Parent; a = a->m_Parent) {
        x += a->m_X;
        y += a->m_Y;
    }
    return Point<int>(x, y);
}

Point<int> Actor::GlobalToLocal(int x, int y) const
{
    for (const Actor* a = this; a && a->m_Parent; a = a->m_Parent) {
        x -= a->m_X;
        y -= a->m_Y;
    }
    return Point<int>(x, y);
}

void Actor::CenterOn(const Actor* other)
{
    SetPosition(other->m_X + other->m_Width / 2 - m_Width / 2,
                other->m_Y + other->m_Height / 2 - m_Height / 2);
}

SDL_Rect Actor::GetRect() const
{
    return MakeRect(m_X, m_Y, m_Width, m_Height);
}

SDL_Rect Actor::GetScreenRect() const
{
    const Point<int> origin = LocalToGlobal(0, 0);
    return MakeRect(origin.x, origin.y, m_Width, m_Height);
}

namespace {

void GrowExtent(const Actor& actor, int offsetX, int offsetY, Point<int>& extent)
{
    extent.x = std::max(extent.x, offsetX + actor.GetWidth());
    extent.y = std::max(extent.y, offsetY + actor.GetHeight());
    if (const Image* image = actor.GetCurrentImage()) {
        const Point<int> size = image->GetFrameSize();
        extent.x = std::max(extent.x, offsetX + size.x);
        extent.y = std::max(extent.y, offsetY + size.y);
    }
    for (const Actor* child : actor.GetChildren())
        GrowExtent(*child, offsetX + child->GetX(), offsetY + child->GetY(), extent);
}

} // namespace

Point<int> Actor::GetExtent() const
{
    Point<int> extent(0, 0);
    GrowExtent(*this, 0, 0, extent);
    return extent;
}

bool Actor::Intersects(const Point<int>& point, const Point<int>& size)
{
    const int px = static_cast<std::int16_t>(point.x);
    const int py = static_cast<std::int16_t>(point.y);
    const int pw = static_cast<std::int16_t>(size.x);
    const int ph = static_cast<std::int16_t>(size.y);
    const SDL_Rect r = GetScreenRect();
    if (r.y + r.h < py || r.y > py + ph || r.x + r.w < px)
        return false;
    return r.x <= px + pw;
}

void Actor::SetVisible(bool visible, bool recursive)
{
    m_Visible = visible;
    if (recursive)
        for (auto it = m_Children.rbegin(); it != m_Children.rend(); ++it)
            (*it)->SetVisible(visible, true);
}

LuaObject Actor::RetrieveInheritedProperty(const std::string& name)
{
    LuaObject value;
    RetrieveProperty(value, name);
    if (value.IsNil() && m_Parent)
        return m_Parent->RetrieveInheritedProperty(name);
    return value;
}

// ---- Image, frame, colour -----------------------------------------------------------------

void Actor::SetPosition(int x, int y)
{
    m_X = static_cast<std::int16_t>(x);
    m_Y = static_cast<std::int16_t>(y);
}

void Actor::SetSize(int width, int height)
{
    m_Width = static_cast<std::uint16_t>(width);
    m_Height = static_cast<std::uint16_t>(height);
}

void Actor::SetAlpha(std::uint8_t alpha)
{
    m_Alpha = alpha;
    if (m_Image)
        m_Image->SetAlpha(alpha);
    if (m_RotatedImage)
        m_RotatedImage->SetAlpha(alpha);
}

void Actor::SetColor(const Color& color)
{
    m_Color = color;
    m_DrawMode = DRAWMODE_COLOR;
}

Image* Actor::GetCurrentImage() const
{
    return m_RotatedImage ? m_RotatedImage.get() : m_Image.get();
}

int Actor::FrameWithin(int frame, const Image* image) const
{
    const int frames = image ? image->GetNumFrames() : 1;
    if (frame >= 0 && (!image || frame < frames))
        return frame;
    const int nearest = std::max(0, std::min(frame, frames - 1));
    ObjectBoundary::ReportOnce(
        DescribeObject(*this),
        boost::str(boost::format("frame %1% is out of range for %2%, which has %3% frames; "
                                 "frame %4% is shown") %
                   frame % DescribePicture(m_ImageName) % frames % nearest));
    return nearest;
}

std::string Actor::DescribePicture(const std::string& imageName)
{
    std::string words = "the image \"" + ShortenedText(imageName) + "\"";
    ResourceManager* resources = GetResourceManager();
    const ResourceInfo* info =
        resources && !imageName.empty() ? resources->FindInfo(imageName, true) : nullptr;
    if (info && !info->GetMetadataFile().empty())
        words += " of \"" + info->GetMetadataFile() + "\"";
    else if (info && !info->Name().empty())
        words += " (\"" + info->Name() + "\", no metadata file gives it)";
    return words;
}

void Actor::SetImage(Image* image, const std::string& name)
{
    m_ImageName = name;
    if (image != m_Image.get()) {
        std::unique_ptr<Image> taken(image);
        if (taken)
            m_Frame = FrameWithin(m_Frame, taken.get());
        m_Image = std::move(taken);
    }
    if (m_Image) {
        const Point<int> size = m_Image->GetFrameSize();
        SetSize(size.x, size.y);
        m_DrawMode =
            (m_DrawMode & ~static_cast<std::uint32_t>(DRAWMODE_COLORFILL)) | DRAWMODE_HAS_IMAGE;
        m_Image->SetAlpha(m_Alpha);
    } else {
        SetSize(0, 0);
    }
    if (m_Rotation != 0.0)
        SetRotation(m_Rotation, m_RotationAlignment, true);
    else
        m_RotatedImage.reset();
}

void Actor::SetImageFromResource(const std::string& name)
{
    if (name.empty()) {
        SetImage(nullptr, name);
        return;
    }
    SetImage(NewImageFromResource(name), name);
}

void Actor::SetFrame(int frame)
{
    frame = FrameWithin(frame, m_Image.get());
    const bool changed = frame != m_Frame;
    m_Frame = frame;
    if (changed && m_Rotation != 0.0)
        SetRotation(m_Rotation, m_RotationAlignment, true);
}

// ---- Layout, animation, flattening --------------------------------------------------------

void Actor::SetLayoutManager(LayoutManager* layout)
{
    m_LayoutManager = layout;
    if (m_LayoutManager)
        m_LayoutManager->LayoutContainer(this);
}

void Actor::PlayAnimation(const std::string& name)
{
    SetAnimation(new Animation(name));
    m_Animation->Play(100);
}

void Actor::LoopAnimation(const std::string& name)
{
    SetAnimation(new Animation(name));
    m_Animation->Loop(100);
}

void Actor::SetAnimation(Animation* animation)
{
    if (m_Animation) {
        Animation* previous = m_Animation;
        m_Animation = nullptr;
        previous->SetTarget(nullptr);
        if (previous->GetParent() == this)
            DestroyChild(previous);
        else
            previous->Kill();
    }
    if (!animation)
        return;
    m_Animation = animation;
    AddChild(animation, "");
    try {
        animation->SetTarget(this);
    } catch (...) {
        // An animation the image cannot play is not kept.
        m_Animation = nullptr;
        DestroyChild(animation);
        throw;
    }
}

void Actor::Flatten(bool alphaCanvas, bool autoSize, int width, int height)
{
    m_FlattenedActor.reset();
    m_FlattenedActor = std::make_unique<FlattenedActor>(this, alphaCanvas, autoSize, width, height);
}

void Actor::ReFlatten()
{
    MAKO_ASSERT(m_FlattenedActor);
    m_FlattenedActor->Refresh();
}
