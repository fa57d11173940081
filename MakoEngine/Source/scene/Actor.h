#pragma once
// Actor: the node of the scene graph. Everything drawn, ticked or offered input on a
// screen is an actor: it has a rectangle in its parent's coordinates, an optional image
// with frames (or a plain colour fill), children kept in ascending z-order, groups it
// owns and groups it belongs to, and per-frame behaviour (its state's tick, a linear
// slide, an alpha fade). Actors are made from script parameter tables as class "Actor".
//
// Lifetime: game code never deletes an actor; Kill marks it dead, takes it out of its
// groups, kills its children, and hands it to the application, which deletes it after the
// frame was drawn. Every walk over children or group members runs over a snapshot, so a
// kill (or any other change of the lists) from inside a tick, a render or an event
// handler never disturbs the walk. An actor deleted directly still leaves a sound tree:
// it detaches from its parent and its groups, and the children it does not delete lose
// their parent pointer.
//
// Coordinates are pixels; times are milliseconds, advanced 32 ms per pass. Main thread
// only.
#include "core/Class.h"
#include "core/EventReceiverGroup.h"
#include "core/Object.h"
#include "display/ShaderType.h"
#include "geometry/Color.h"
#include "geometry/Point.h"
#include "geometry/Rect.h"
#include "geometry/RectAlignment.h"
#include "scene/ActorSnapshot.h"

#include <algorithm>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class ActorGroup;
class Animation;
class Canvas;
class FlattenedActor;
class Image;
class LayoutManager;

// Bits of Actor::m_Flags (the other bits are free for subclasses).
enum ActorFlags : std::uint32_t {
    ACTORFLAG_TICK_WHILE_PAUSED = 2, // keeps ticking while the game is paused
    ACTORFLAG_NO_RENDER = 4,         // skipped by the parent's Render
    ACTORFLAG_UNSORTED = 8,          // children appended in insertion order
};

// Bits of Actor::m_DrawMode.
enum ActorDrawMode : std::uint32_t {
    DRAWMODE_HAS_IMAGE = 2,
    DRAWMODE_DEFAULT = 4,
    DRAWMODE_COLORFILL = 8,
    DRAWMODE_RENDERER_FLAG = 16,  // passed to the renderer's image drawing as its flag
    DRAWMODE_COMBINED_ALPHA = 32, // "useCombinedAlpha"; stored for subclasses
    DRAWMODE_COLOR = DRAWMODE_DEFAULT | DRAWMODE_COLORFILL,
};

// Fade modes.
enum ActorFadeMode : std::int32_t { FADE_NONE = 0, FADE_OUT = 1, FADE_IN = 2 };

// The shader named by one of the five SHADERTYPE_* names; any other text raises an
// ApplyPropertyError "Unknown shaderTypeString: <text>", followed by a line that lists the
// names.
ShaderType ShaderTypeFromString(const std::string& name);

class Actor : public Object
{
    MAKO_DECLARE_CLASS();

public:
    Actor();
    // Defaults, then the parameter table applied.
    explicit Actor(const LuaPlus::LuaObject& params);
    // A plain coloured rectangle of size 0 x 0 (draw mode DRAWMODE_COLOR).
    explicit Actor(const Color& color);
    // Defaults, then the table {resource = name} applied.
    explicit Actor(const std::string& resourceName);
    ~Actor() override;

    // How many actors exist now (for leak checks).
    static int GetLiveCount();

    // A default actor with the named resource applied (its table, or its image).
    static Actor* CreateFromResource(const std::string& name);
    // An actor from the resource placed at (x, y) with the z-order; the receiver, when
    // given, listens to the actor's posted events.
    static Actor* Create(const std::string& resourceName, int x, int y, int zorder,
                         EventReceiver* receiver);
    static Actor* CreateColorRect(const Color& color, int x, int y, int width, int height,
                                  int zorder, EventReceiver* receiver);
    // A new image referring to the named image resource (the caller owns it). A name that
    // is not an image resource raises.
    static Image* NewImageFromResource(const std::string& name);

    // ---- Object ----------------------------------------------------------------------
    // The event walk: the object's own state and handlers, then each owned group, then
    // each child from the topmost down; the first consumer ends it. Neither visibility
    // nor the dead flag is consulted.
    bool OnEvent(const Event& event) override;
    // The state's tick, the children that may tick, then one slide step and one fade
    // step. The actor must be able to tick (CanTick).
    void Tick() override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;
    // An image resource becomes the actor's image; other resources go to Object.
    void ApplyResource(const std::string& name, Resource* resource, ResourceInfo* info) override;

    // ---- Actor's own operations ------------------------------------------------------
    virtual void Init(const LuaPlus::LuaObject& params) { ApplyProperties(params); }
    // Marks the actor dead (once), takes it out of every group, schedules its deletion
    // and destroys its children that do not survive their parent.
    virtual void Kill();
    // Takes the group into the owned groups (not owned: the group outlives the actor)
    // and tells the observers with MAKO_CHILDGROUPADDED.
    virtual void AddGroup(ActorGroup* group);
    virtual void AddedToGroup(ActorGroup* group);
    virtual void RemovedFromGroup(ActorGroup* group);
    // Draws the subtree: nothing when invisible or dead; otherwise, translated by the
    // position, the cached picture of a flattened subtree, or the actor itself and the
    // children (those without ACTORFLAG_NO_RENDER) in z-order.
    virtual void Render(Canvas& canvas);
    // Draws the actor itself at the canvas origin: its colour fill, else its image frame.
    virtual void Draw(Canvas& canvas);
    // Replaces (and deletes) the image; the size becomes the image's frame size (0 x 0
    // without one). The current frame must exist in the new image.
    virtual void SetImage(Image* image, const std::string& name);
    virtual void SetVisible(bool visible, bool recursive);
    // Whether the actor's screen rectangle overlaps the rectangle at point of the size;
    // touching edges count.
    virtual bool Intersects(const Point<int>& point, const Point<int>& size);
    virtual SDL_Rect GetRect() const;
    // Inserts the child before the first child of a greater z-order (appends it when the
    // actor keeps its children unsorted). The child takes this actor's inheritable flags
    // and aligns itself. A child of another actor is taken from it first.
    virtual void AddChild(Actor* child, const std::string& name);
    virtual void RemoveChild(Actor* child);
    // Stores the parent and realigns.
    virtual void SetParent(Actor* parent);

    // ---- Non-virtual operations ------------------------------------------------------
    bool CanTick() const;
    void SetFlags(std::uint32_t flags);
    void SetAlpha(std::uint8_t alpha);
    void SetColor(const Color& color);
    void SetImageFromResource(const std::string& name);
    // Stores the frame (brought within the image's frames, see FrameWithin) and rebuilds a
    // rotated image.
    void SetFrame(int frame);
    // A picture as a report names it: `the image "Paddle.png" of "Images/Paddles/metadata.cfg"`
    // (the metadata file when the current resource manager knows one; else the picture's
    // own file).
    static std::string DescribePicture(const std::string& imageName);
    Image* GetCurrentImage() const;

    // Alignment, rotation, slides, fades and shader (ActorEffects.cpp).
    void SetAlignment(RectAlignment alignment);
    void SetAlignmentOffset(int dx, int dy);
    void UpdateAlignment();
    void SetRotation(double degrees, int rotationAlignment, bool force);
    // Moves to (x, y) over the duration, 32 ms per step; posts MAKO_SLIDECOMPLETE when it
    // lands. A duration of 0 (or less) lands at once.
    void SlideTo(int x, int y, int durationMs);
    void FadeOut(int durationMs, bool kill);
    void FadeIn(int durationMs);
    void StopFade();
    void SetShaderType(const LuaPlus::LuaObject& value);

    // Look-ups and coordinates.
    Actor* GetChild(const std::string& name, bool recursive) const;
    bool HasChild(const Actor* child, bool recursive) const;
    ActorGroup* FindGroup(const std::string& name, bool recursive) const;
    Point<int> LocalToGlobal(int x, int y) const;
    Point<int> GlobalToLocal(int x, int y) const;
    void CenterOn(const Actor* other);
    SDL_Rect GetScreenRect() const;
    // Largest right and bottom edge of the subtree in this actor's coordinates.
    Point<int> GetExtent() const;

    // Receivers of the actor's posted events.
    void AddEventReceiver(EventReceiver* receiver);
    // Takes the receiver off the actor's receivers (a receiver that goes before the actor
    // does), also for the events already queued for them.
    void RemoveEventReceiver(EventReceiver* receiver) { m_ReceiverGroup.Remove(receiver); }
    bool HasEventReceivers() const { return !m_ReceiverGroup.IsEmpty(); }
    // Queues an event of the type, words (0, data, 0), for the receivers.
    void PostEvent(std::uint8_t type, void* data);

    // The property on this actor, else on the nearest ancestor that has it (nil when none).
    LuaPlus::LuaObject RetrieveInheritedProperty(const std::string& name);

    void DestroyChild(Actor* child);
    void DestroyChildren();
    void LeaveAllGroups();

    // Caches the subtree's picture (FlattenedActor); ReFlatten redraws it next render.
    void Flatten(bool alphaCanvas, bool autoSize, int width, int height);
    void ReFlatten();
    FlattenedActor* GetFlattenedActor() const MAKO_LIFETIMEBOUND { return m_FlattenedActor.get(); }

    // Plays the named animation of the image's metadata once, 100 ms per frame.
    void PlayAnimation(const std::string& name);
    void LoopAnimation(const std::string& name);
    // Replaces (and destroys) the running animation; the new one becomes a child driving
    // this actor's frame.
    void SetAnimation(Animation* animation);
    Animation* GetAnimation() const { return m_Animation; }

    // ---- Accessors ------------------------------------------------------------------
    Actor* GetParent() const { return m_Parent; }
    const std::list<Actor*>& GetChildren() const MAKO_LIFETIMEBOUND { return m_Children; }
    const std::list<ActorGroup*>& GetOwnedGroups() const MAKO_LIFETIMEBOUND
    {
        return m_OwnedGroups;
    }
    const std::list<ActorGroup*>& GetMemberships() const MAKO_LIFETIMEBOUND
    {
        return m_Memberships;
    }
    Image* GetImage() const MAKO_LIFETIMEBOUND { return m_Image.get(); }
    Image* GetRotatedImage() const MAKO_LIFETIMEBOUND { return m_RotatedImage.get(); }
    const std::string& GetImageName() const MAKO_LIFETIMEBOUND { return m_ImageName; }
    int GetX() const { return m_X; }
    int GetY() const { return m_Y; }
    void SetPosition(int x, int y);
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    void SetSize(int width, int height);
    int GetZOrder() const { return m_ZOrder; }
    void SetZOrder(int zorder) { m_ZOrder = zorder; }
    int GetFrame() const { return m_Frame; }
    std::uint32_t GetFlags() const { return m_Flags; }
    std::uint32_t GetDrawMode() const { return m_DrawMode; }
    void SetDrawMode(std::uint32_t mode) { m_DrawMode = mode; }
    int GetShaderType() const { return m_ShaderType; }
    const Color& GetColor() const MAKO_LIFETIMEBOUND { return m_Color; }
    std::uint8_t GetAlpha() const { return m_Alpha; }
    bool IsVisible() const { return m_Visible; }
    bool IsDead() const { return m_Dead; }
    bool GetSurvive() const { return m_Survive; }
    void SetSurvive(bool survive) { m_Survive = survive; }
    bool GetChildrenBehind() const { return m_ChildrenBehind; }
    void SetChildrenBehind(bool behind) { m_ChildrenBehind = behind; }
    double GetRotation() const { return m_Rotation; }
    Point<int> GetRotationOffset() const
    {
        return Point<int>(m_RotationOffsetX, m_RotationOffsetY);
    }
    RectAlignment GetAlignment() const { return m_Alignment; }
    bool IsSliding() const { return m_Sliding; }
    int GetFadeMode() const { return m_FadeMode; }
    std::uint32_t GetFadeTimer() const { return m_FadeTimer; }
    LayoutManager* GetLayoutManager() const { return m_LayoutManager; }
    void SetLayoutManager(LayoutManager* layout);

    // Property registration of the class "Actor".
    static void RegisterProperties(Class& actorClass);

protected:
    // MAKO_TIMER: ends a running fade when it is the fade's timer.
    bool OnTimer(const Event& event) override;
    // MAKO_SELECT is always consumed.
    bool OnSelect(const Event& event) override { return true; }

    // Children in list order whose pointer is still a child of this actor when visited
    // (fn returns true to stop). Safe against any change of the list made by fn.
    template <typename Fn> bool ForEachChild(bool topmostFirst, Fn fn);
    // Runs one step of this actor (its tick, its drawing) inside the object boundary
    // (core/ObjectBoundary): an error of its data leaves it out of play, named once.
    template <typename Step> void RunInBoundary(const Step& step);

    // Property setters with checks of their own.
    void SetFrameProperty(const LuaPlus::LuaObject& value);
    void SetAlignmentOffsetProperty(const LuaPlus::LuaObject& value);
    void SetAlphaProperty(const LuaPlus::LuaObject& value);
    void SetLayoutManagerProperty(const LuaPlus::LuaObject& value);
    void SetUseCombinedAlphaProperty(const LuaPlus::LuaObject& value);
    void SetShaderTypeProperty(const LuaPlus::LuaObject& value);
    // "groups" and "children": one object per parameter table.
    void ApplyObjectList(const LuaPlus::LuaObject& value, bool asChildren);
    void ApplyColorProperty(const LuaPlus::LuaObject& value);

    // Ends a fade (the timer fired, or no timer manager runs the fade).
    void FinishFade();
    void KillFadeTimer();
    // The frame itself when the image holds it, else the nearest frame it holds (0 for
    // none), named once: a picture's frame count comes from its metadata, and a picture
    // whose metadata lost frames still shows.
    int FrameWithin(int frame, const Image* image) const;

    Color m_Color;
    Actor* m_Parent = nullptr;
    std::unique_ptr<Image> m_Image;
    std::string m_ImageName;
    std::unique_ptr<Image> m_RotatedImage;
    std::unique_ptr<FlattenedActor> m_FlattenedActor;
    std::int16_t m_X = 0;
    std::int16_t m_Y = 0;
    std::uint16_t m_Width = 0;
    std::uint16_t m_Height = 0;
    std::int32_t m_ZOrder = 0;
    RectAlignment m_Alignment = NoAlignment;
    RectAlignment m_AlignTo = NoAlignment;
    std::int32_t m_AlignOffsetX = 0;
    std::int32_t m_AlignOffsetY = 0;
    Animation* m_Animation = nullptr;
    std::int32_t m_Frame = 0;
    std::uint32_t m_Flags = 0;
    std::uint32_t m_InheritedFlagsMask = ~(ACTORFLAG_NO_RENDER | ACTORFLAG_UNSORTED);
    std::uint32_t m_DrawMode = DRAWMODE_DEFAULT;
    std::int32_t m_ShaderType = SHADERTYPE_RESERVED;
    double m_Rotation = 0.0;
    std::int32_t m_RotationOffsetX = 0;
    std::int32_t m_RotationOffsetY = 0;
    RectAlignment m_RotationAlignment = TopLeft;
    std::int32_t m_SlideStepX = 0;
    std::int32_t m_SlideStepY = 0;
    std::int32_t m_SlideStepsLeft = 0;
    std::int32_t m_SlideTargetX = 0;
    std::int32_t m_SlideTargetY = 0;
    EventReceiverGroup m_ReceiverGroup;
    std::list<Actor*> m_Children;
    // Where the actor stands in its parent's child list (valid while it has a parent), so
    // that leaving the parent costs the same however many siblings it has.
    std::list<Actor*>::iterator m_PlaceInParent;
    LayoutManager* m_LayoutManager = nullptr;
    std::uint8_t m_Alpha = 255;
    bool m_Visible = true;
    bool m_ChildrenBehind = false;
    bool m_Survive = false;
    bool m_Dead = false;
    // Left out of play after its tick or drawing met an error in its data: no longer
    // ticked or drawn, kept until its parent lets it go.
    bool m_LeftOut = false;
    bool m_Sliding = false;
    std::uint32_t m_FadeTimer = 0;
    std::int32_t m_FadeStep = 0;
    std::int32_t m_FadeSteps = 0;
    std::uint32_t m_KillWhenFaded = 0;
    std::int32_t m_FadeMode = FADE_NONE;
    std::list<ActorGroup*> m_OwnedGroups;
    std::list<ActorGroup*> m_Memberships;

private:
    // Groups made by the "groups" property: this actor made them, so it deletes them.
    std::vector<ActorGroup*> m_CreatedGroups;
    // Counts every change of m_Children, so walks know when their snapshot went stale.
    std::uint32_t m_ChildListVersion = 0;
};

template <typename Fn> bool Actor::ForEachChild(bool topmostFirst, Fn fn)
{
    if (m_Children.empty())
        return false;
    const ActorSnapshot taken(m_Children);
    const std::vector<Actor*>& snapshot = taken.Actors();
    const std::uint32_t version = m_ChildListVersion;
    const std::size_t count = snapshot.size();
    for (std::size_t i = 0; i < count; ++i) {
        Actor* child = snapshot[topmostFirst ? count - 1 - i : i];
        // After a change of the list, a snapshot entry is visited only while it is still
        // a child (it may even have been deleted).
        if (version != m_ChildListVersion &&
            std::find(m_Children.begin(), m_Children.end(), child) == m_Children.end())
            continue;
        if (fn(child))
            return true;
    }
    return false;
}
