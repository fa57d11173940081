#pragma once
// Loads sound files (".ogg", ".wav"; ".mp3" names are accepted but cannot be decoded
// here, so loading them fails) into Sound resources: samples by default, streams when
// the metadata says `stream = true`. Accepts nothing while audio is inactive.
#include "resources/ResourceLoader.h"

class BASSSoundLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    // Reads the bytes, makes the sample or stream and applies the metadata's `volume`
    // and `pan`. Failures throw ResourceLoadError naming the resource.
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "BASS sound file loader"; }
    int KindOfEntry(const ResourceInfo& info) const override;
};
