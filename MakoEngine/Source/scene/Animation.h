#pragma once
// A frame animation: an invisible child actor that steps its target through the frames
// of the target's image, following a named list of the image metadata's "Animations"
// table. A list holds frame indexes (shown one frame interval each), names of other
// animations of the same table (played at that point, their first frame included), and
// commands {name, argument}; the one command, "delay", holds the frame shown for the
// given milliseconds before the next element plays. Nesting is limited to
// kMaxNestingDepth levels, so an animation that names itself stops there, named. Metadata read
// from a file never gets there: its cycles and too deep nests are left out when it is read
// (resources/MetadataRanges).
//
// The target hears MAKO_ANIMEVENT (code 1, data1 the animation) when the animation
// starts, restarts (looping) and ends. Time advances 32 ms per tick; the remainder of a
// frame interval carries over to the next frame.
#include "scene/Actor.h"

#include <deque>
#include <string>

enum AnimationState : std::int32_t { ANIM_STOPPED = 1, ANIM_PLAYING = 2 };

class Animation : public Actor
{
public:
    static constexpr int kMaxNestingDepth = 32;

    explicit Animation(const std::string& name);
    ~Animation() override;

    // Empties the frame stack and takes the target (not owned). A target whose image does
    // not hold the animation in its metadata shows its first frame (named once).
    void SetTarget(Actor* target);
    Actor* GetTarget() const { return m_Target; }
    // Starts from the first frame, intervalMs per frame, and tells the target.
    void Play(int intervalMs);
    // As Play, starting again each time the animation ends.
    void Loop(int intervalMs);
    // Back to the first frame (of the innermost animation the list starts with).
    void Reset();
    // The frame shown now.
    int CurrentFrame() const;
    // Moves to the next frame, entering and leaving nested animations and obeying
    // commands on the way; at the end, loops or stops.
    void AdvanceFrame();

    void Tick() override;

    const std::string& GetAnimationName() const MAKO_LIFETIMEBOUND { return m_Name; }
    int GetState() const { return m_State; }
    int GetCountdown() const { return m_Countdown; }
    bool IsLooping() const { return m_Loop; }
    std::size_t GetDepth() const { return m_Stack.size(); }

private:
    struct Entry
    {
        int position; // 1-based index of the current element; 0 before the first
        LuaPlus::LuaObject table;
    };

    // Pushes the named list of the target's metadata at the position. A picture without
    // it (no metadata, no animations, no list of that name, nested too deep) gets its first
    // frame in the list's place, named once (core/ObjectBoundary).
    void ExtractAndPush(const std::string& name, int position);
    // The named list of the target's metadata; raises DataError naming the picture when
    // there is none.
    LuaPlus::LuaObject FindList(const std::string& name) const;
    // Runs a command; true when the animation waits on it before the next element.
    bool ProcessCommand(const LuaPlus::LuaObject& command);
    void SendAnimEvent();

    Actor* m_Target = nullptr;
    std::string m_Name;
    std::int32_t m_State = ANIM_STOPPED;
    std::int32_t m_Countdown = 0;
    std::int32_t m_FrameInterval = 0;
    std::deque<Entry> m_Stack;
    std::int32_t m_CachedFrame = -1;
    bool m_Loop = false;
};
