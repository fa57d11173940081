#include "sound/DirectMusicLoader.h"

#include "core/Exception.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "sound/DirectMusic.h"
#include "sound/MusicManager.h"
#include "sound/MusicSegment.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

bool DirectMusicLoader::CanLoad(const ResourceInfo& info)
{
    return Sound::IsMusicActive() && KindOfEntry(info) == RESOURCE_MUSIC;
}

int DirectMusicLoader::KindOfEntry(const ResourceInfo& info) const
{
    const std::string& name = info.Name();
    if (name.size() < 5)
        return RESOURCE_UNKNOWN;
    const std::string tail = name.substr(name.size() - 4);
    const bool song = tail == ".sgt" || tail == ".sty" || tail == ".mid" || tail == ".dls";
    return song ? RESOURCE_MUSIC : RESOURCE_UNKNOWN;
}

void DirectMusicLoader::LoadResource(FileReader* reader, ResourceInfo& info)
{
    const std::string name = info.GetName();
    MAKO_ASSERT(reader != 0);
    MAKO_ASSERT(Sound::IsMusicActive());
    const void* data = nullptr;
    std::uint32_t size = 0;
    reader->Read(name, data, size);

    bool isMidi = name.find(".mid") != std::string::npos || name.find(".rmi") != std::string::npos;
    MusicSegment* segment = nullptr;
    dmusic::Result result = Sound::GetDirectMusic()->GetMusicManager()->LoadSegment(
        name, data, size, false, isMidi, &segment);
    if (dmusic::Failed(result)) {
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Couldn't load music \"%1%\", %2%, \"%3%\"") % name %
                              dmusic::ResultName(result) % dmusic::ResultDescription(result)));
    }
    const LuaPlus::LuaObject& metadata = info.GetMetadata();
    if (metadata.IsTable()) {
        LuaPlus::LuaObject parts = metadata["parts"];
        if (parts.IsTable()) {
            segment->SetParts(parts);
        }
    }
    info.SetResource(segment);
    info.SetType(RESOURCE_MUSIC);
}
