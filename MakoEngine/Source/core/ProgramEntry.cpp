// The engine's entry point, called by the program's main.
#include "core/Exception.h"

int SDL_main(int argc, char** argv)
{
    return 0;
}
