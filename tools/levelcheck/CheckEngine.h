#pragma once
// The engine as the level check needs it, without an application or a window: the class
// registry, the game's scripts (the copies the program carries inside itself), the asset
// pack mounted through PhysFS as the game mounts it, SDL video on the dummy driver and
// TrueType text. Audio opens on the dummy driver (nothing is heard), so that songs and sounds
// load as in the game and a damaged one is found.
#include <string>

namespace levelcheck {

// pack: the asset folder ("build/Assets") or the package file ("build/bumperlux.fun").
// Once per process. Throws the engine's Exception when the pack cannot be mounted or a
// script fails.
void OpenEngine(const std::string& pack);

} // namespace levelcheck
