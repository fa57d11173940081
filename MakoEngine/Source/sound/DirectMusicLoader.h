#pragma once
// Loads music files (".mid"; ".sgt", ".sty" and ".dls" names are accepted, but only
// Standard MIDI Files play here, so loading the others fails) into MusicSegment
// resources, with the part table of their metadata. Accepts nothing while the music is
// inactive.
#include "resources/ResourceLoader.h"

class DirectMusicLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    // Failures throw ResourceLoadError "Couldn't load music "<name>", <code name>,
    // "<description>"".
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "DIRECTMUSIC sound file loader"; }
    int KindOfEntry(const ResourceInfo& info) const override;
};
