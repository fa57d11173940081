#include "sound/MusicSegment.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "sound/Sound.h"

namespace {

void LogMusicFailure(int level, const char* format, const std::string& name, dmusic::Result r)
{
    LogAtLevel(level, format, name.c_str(), dmusic::ResultName(r), dmusic::ResultDescription(r));
}

} // namespace

MusicSegment::MusicSegment(const std::string& name,
                           const std::shared_ptr<dmusic::Performance>& performance,
                           const std::shared_ptr<dmusic::Segment>& segment)
    : m_Name(name), m_Segment(segment), m_Performance(performance)
{
}

MusicSegment::~MusicSegment()
{
    std::shared_ptr<dmusic::Performance> performance = m_Performance.lock();
    if (m_Segment && m_Downloaded && performance) {
        dmusic::Result result = m_Segment->Unload(*performance);
        if (dmusic::Failed(result)) {
            LogMusicFailure(1, "MusicSegment: GUID_Unload %s FAILED\n>>>>>>%s\n>>>>>>%s\n", m_Name,
                            result);
        }
    }
}

dmusic::Result MusicSegment::Download()
{
    std::shared_ptr<dmusic::Performance> performance = m_Performance.lock();
    if (!m_Segment || !performance) {
        return dmusic::ERR_NOT_INITIALIZED;
    }
    LogAtLevel(3, "MusicSegment::Download %s\n", m_Name.c_str());
    dmusic::Result result = m_Segment->Download(*performance);
    if (dmusic::Succeeded(result)) {
        m_Downloaded = true;
    } else {
        LogMusicFailure(3, "MusicSegment::Could Not Download %s\n>>>>>>%s\n>>>>>>%s\n", m_Name,
                        result);
    }
    return result;
}

dmusic::Result MusicSegment::Play(std::uint32_t flags)
{
    std::shared_ptr<dmusic::Performance> performance = m_Performance.lock();
    if (!m_Segment || !performance) {
        return dmusic::ERR_NOT_INITIALIZED;
    }
    if (!m_Downloaded) {
        Download();
    }
    LogAtLevel(3, "MusicSegment::Play %s\n", m_Name.c_str());
    dmusic::Result result = performance->PlaySegment(*m_Segment, flags);
    if (dmusic::Failed(result)) {
        LogMusicFailure(1, "MusicSegment::Play - Couldn't Play%s\n>>>>>>%s\n>>>>>>%s\n", m_Name,
                        result);
    }
    return result;
}

dmusic::Result MusicSegment::SetRepeats(std::int32_t count)
{
    return m_Segment ? m_Segment->SetRepeats(count) : dmusic::ERR_NOT_INITIALIZED;
}

dmusic::Result MusicSegment::SetStartPoint(dmusic::MusicTime start)
{
    return m_Segment ? m_Segment->SetStartPoint(start) : dmusic::ERR_NOT_INITIALIZED;
}

dmusic::Result MusicSegment::SetLoopPoints(dmusic::MusicTime start, dmusic::MusicTime end)
{
    return m_Segment ? m_Segment->SetLoopPoints(start, end) : dmusic::ERR_NOT_INITIALIZED;
}

bool MusicSegment::HasPart(const std::string& part) const
{
    if (!m_Parts.IsTable()) {
        return false;
    }
    LuaPlus::LuaObject range = m_Parts[part];
    return range.IsTable() && range[1].IsNumber() && range[2].IsNumber();
}

void MusicSegment::GetPartRange(const std::string& part, int& firstMeasure, int& numMeasures) const
{
    firstMeasure = 0;
    numMeasures = 0;
    if (HasPart(part)) {
        LuaPlus::LuaObject range = m_Parts[part];
        firstMeasure = range[1].GetInteger();
        numMeasures = range[2].GetInteger();
    }
}

MusicSegment* MusicSegment::GetSegment(const std::string& name)
{
    if (!Sound::IsMusicActive()) {
        return nullptr;
    }
    MAKO_ASSERT_MSG(Sound::IsActive() == true,
                    "Music cannot be retrieved when the DirectMusic subsystem has been disabled.");
    // A song that cannot be loaded is left out as a missing one is: the game plays on
    // without it. The resource manager logs it once and never tries it again. A name of
    // anything but a song (a script, a sound, a picture) is no song: named and left out.
    try {
        return static_cast<MusicSegment*>(
            GetResourceManager()->AcquireOfKind(name, RESOURCE_MUSIC));
    } catch (const ResourceLoadError&) {
        return nullptr;
    } catch (const ResourceKindError& e) {
        Log("Warning: %s; the game plays without it\n", e.GetMessage().c_str());
        return nullptr;
    }
}
