// Program entry: hands the command line to the engine's entry point.
#include "app/Application.h"

int main(int argc, char** argv)
{
    return SDL_main(argc, argv);
}
