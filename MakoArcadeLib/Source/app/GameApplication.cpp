// The game's application and product name, handed to the engine's entry point.
#include "app/ArcadeApp.h"

#include <memory>

const char* const kProductName = "bumperlux";

std::unique_ptr<Application> CreateGameApplication()
{
    return std::make_unique<ArcadeApp>();
}
