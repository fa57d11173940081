#include "scene/Animation.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/ValueTypeError.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "resources/MetadataRanges.h"

#include <boost/format.hpp>

using LuaPlus::LuaObject;

// Metadata read from files is held to the depth played here.
static_assert(Animation::kMaxNestingDepth == MetadataRanges::kMaxAnimationDepth);

Animation::Animation(const std::string& name) : m_Name(name) {}

// The target is not touched here: it may already be gone.
Animation::~Animation() = default;

void Animation::SetTarget(Actor* target)
{
    m_Stack.clear();
    m_Target = target;
    if (m_Target)
        ExtractAndPush(m_Name, 1);
}

void Animation::ExtractAndPush(const std::string& name, int position)
{
    LuaObject animation;
    // The stand-in for a list the picture lacks: its first frame, shown for as long as the
    // list would have played; the animations around it play on.
    if (!ObjectBoundary::Guard(
            [this] { return m_Target ? DescribeObject(*m_Target) : std::string("An animation"); },
            "its first frame is shown", [&] { animation = FindList(name); })) {
        animation.AssignNewTable(GetGlobalLuaState());
        animation.SetInteger(1, 0);
    }
    m_Stack.push_back(Entry{position, animation});
}

LuaObject Animation::FindList(const std::string& name) const
{
    if (m_Stack.size() >= static_cast<std::size_t>(kMaxNestingDepth))
        MAKO_THROW(DataError, boost::str(boost::format("the animation \"%1%\" nests deeper "
                                                       "than %2% levels") %
                                         ShortenedText(name) % kMaxNestingDepth));
    const Image* image = m_Target ? m_Target->GetCurrentImage() : nullptr;
    const std::string picture =
        m_Target ? Actor::DescribePicture(m_Target->GetImageName()) : std::string("no image");
    const LuaObject metadata = image ? image->GetMetadata() : LuaObject();
    if (!metadata.IsTable())
        MAKO_THROW(DataError, "the animation \"" + ShortenedText(name) + "\" is asked of " +
                                  picture + ", which has no metadata");
    const LuaObject animations = metadata["Animations"];
    if (!animations.IsTable())
        MAKO_THROW(DataError, "the animation \"" + ShortenedText(name) + "\" is asked of " +
                                  picture + ", which has no animations");
    const LuaObject animation = animations[name];
    if (!animation.IsTable())
        MAKO_THROW(DataError, "the animation \"" + ShortenedText(name) + "\" is asked of " +
                                  picture + ", which has no animation of that name");
    return animation;
}

void Animation::Play(int intervalMs)
{
    MAKO_ASSERT(m_Target != 0);
    m_FrameInterval = m_Countdown = intervalMs;
    m_State = ANIM_PLAYING;
    Reset();
    SendAnimEvent();
}

void Animation::Loop(int intervalMs)
{
    m_Loop = true;
    Play(intervalMs);
}

void Animation::Reset()
{
    MAKO_ASSERT(m_Target != 0);
    if (m_Stack.empty()) {
        ExtractAndPush(m_Name, 1);
    } else {
        m_Stack.resize(1, m_Stack.front());
        m_Stack.front().position = 1;
    }
    for (;;) {
        const LuaObject first = m_Stack.back().table[1];
        if (!first.IsString())
            break;
        ExtractAndPush(first.GetString(), 1);
    }
    m_CachedFrame = -1;
    m_Target->SetFrame(CurrentFrame());
}

int Animation::CurrentFrame() const
{
    if (m_CachedFrame >= 0)
        return m_CachedFrame;
    MAKO_ASSERT(!m_Stack.empty());
    const Entry& top = m_Stack.back();
    const LuaObject element = top.table[top.position];
    // A list set by a script may start with a command: the first frame stands for it.
    return element.IsNumber() ? element.GetInteger() : 0;
}

void Animation::AdvanceFrame()
{
    MAKO_ASSERT(m_State == ANIM_PLAYING);
    MAKO_ASSERT(m_Target != 0);
    m_CachedFrame = -1;
    while (!m_Stack.empty()) {
        Entry& top = m_Stack.back();
        const int next = top.position + 1;
        const LuaObject element = top.table[next];
        if (element.IsNil()) {
            m_Stack.pop_back();
        } else if (element.IsString()) {
            // The named animation plays from its first element.
            top.position = next;
            ExtractAndPush(element.GetString(), 0);
        } else if (element.IsTable()) {
            m_CachedFrame = m_Target->GetFrame();
            top.position = next;
            if (ProcessCommand(element))
                return;
        } else if (element.IsNumber()) {
            // The frame after a command shows at once, so the frame held while the
            // command was passed is no longer the one reported.
            top.position = next;
            m_Countdown += m_FrameInterval;
            m_CachedFrame = -1;
            m_Target->SetFrame(CurrentFrame());
            return;
        } else {
            // Metadata read from a file holds none (resources/MetadataRanges); a list a
            // script set may: the element is passed over, named once.
            top.position = next;
            ObjectBoundary::ReportOnce(
                DescribeObject(*m_Target),
                "the animation \"" + ShortenedText(m_Name) + "\" holds " +
                    DescribeScriptValue(element) +
                    ", which is no frame, animation name or command; it is passed over");
        }
    }
    if (m_Loop) {
        Play(m_FrameInterval);
        return;
    }
    m_State = ANIM_STOPPED;
    SendAnimEvent();
}

bool Animation::ProcessCommand(const LuaObject& command)
{
    MAKO_ASSERT(command.IsTable());
    const LuaObject name = command[1];
    if (name.IsString() && std::string(name.GetString()) == "delay") {
        m_Countdown = command[2].IsNumber() ? command[2].GetInteger() : 0;
        Log("delay: %d, %s\n", m_Countdown, m_Name.c_str());
        return true;
    }
    return false;
}

void Animation::Tick()
{
    if (m_State != ANIM_PLAYING)
        return;
    m_Countdown -= FRAME_PERIOD_MS;
    if (m_Countdown <= 0)
        AdvanceFrame();
}

void Animation::SendAnimEvent()
{
    const Event event = MakeEvent(MAKO_ANIMEVENT, 1, this, nullptr);
    m_Target->OnEvent(event);
}
