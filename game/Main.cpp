// Program entry: hands the command line to the engine's entry point.
int SDL_main(int argc, char** argv);

int main(int argc, char** argv)
{
    return SDL_main(argc, argv);
}
