#include "FuzzEntries.h"

namespace fuzz {

const std::vector<Target>& Targets()
{
    static const std::vector<Target> targets = {
        {"config", RunConfigFile},     {"card", RunPlayerCard},
        {"level", RunLevelFile},       {"metadata", RunImageMetadata},
        {"serializer", RunSerializer}, {"package", RunPackage},
        {"frames", RunDebugFrames},    {"play", RunPlay},
        {"song", RunSong},
        {"picture", RunPicture},
        {"font", RunFontFile},         {"sound", RunSoundFile},
    };
    return targets;
}

} // namespace fuzz
