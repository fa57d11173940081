#pragma once
// A loaded music file (resource type RESOURCE_MUSIC): a segment of the music layer that
// plays on the music performance, with the named parts its metadata describes.
//
// Parts are measure ranges: the metadata's `parts = {name = {m, n}}` names n measures
// from measure m (counting from 1). Music time counts 3072 units a measure.
//
// Main thread only.
#include "dmusic/Performance.h"
#include "dmusic/Segment.h"
#include "luaplus/LuaPlus.h"
#include "resources/Resource.h"

#include <cstdint>
#include <memory>
#include <string>

class MusicSegment : public Resource
{
public:
    // Music time of one measure.
    static constexpr dmusic::MusicTime kMusicTimePerMeasure = 3072;

    MusicSegment(const std::string& name, const std::shared_ptr<dmusic::Performance>& performance,
                 const std::shared_ptr<dmusic::Segment>& segment);
    // Unloads the segment from the performance when it was downloaded and the performance
    // still exists.
    ~MusicSegment() override;

    // Music resources hold no memory the statistics count.
    int CalcMemoryUsage() override { return 0; }

    // Plays the segment from its start point on the performance, downloading it first when
    // needed. Flags: 0 or dmusic::SEGF_DEFAULT. Failures are logged at level 1 and returned.
    virtual dmusic::Result Play(std::uint32_t flags);
    // Makes the segment ready to play on the performance.
    dmusic::Result Download();
    // Loop repeats after the first pass: 0 once, dmusic::REPEAT_INFINITE until stopped.
    dmusic::Result SetRepeats(std::int32_t count);
    dmusic::Result SetStartPoint(dmusic::MusicTime start);
    dmusic::Result SetLoopPoints(dmusic::MusicTime start, dmusic::MusicTime end);

    // Whether the parts table names the part with two numbers.
    bool HasPart(const std::string& part) const;
    // (first measure, number of measures) of a part, truncated to integers; (0, 0) when
    // the part is not described.
    void GetPartRange(const std::string& part, int& firstMeasure, int& numMeasures) const;
    // The part table (nil when the metadata gave none).
    void SetParts(const LuaPlus::LuaObject& parts) { m_Parts = parts; }
    const LuaPlus::LuaObject& GetParts() const MAKO_LIFETIMEBOUND { return m_Parts; }

    const std::string& GetName() const MAKO_LIFETIMEBOUND { return m_Name; }
    bool IsDownloaded() const { return m_Downloaded; }
    dmusic::Segment* GetSegmentObject() const { return m_Segment.get(); }
    // Length of the whole file in music time.
    dmusic::MusicTime GetLength() const { return m_Segment ? m_Segment->GetLength() : 0; }

    // The music resource of that name, loaded on first use; null while the music is
    // inactive, and for a song that is damaged (logged once by the resource manager).
    // Audio must be active, and the resource must be music (assertions).
    static MusicSegment* GetSegment(const std::string& name);

private:
    std::string m_Name;
    std::shared_ptr<dmusic::Segment> m_Segment;
    std::weak_ptr<dmusic::Performance> m_Performance;
    bool m_Downloaded = false;
    LuaPlus::LuaObject m_Parts;
};
