# The Debian packages the project builds against (tools/install-deps installs them).
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(Boost REQUIRED)

pkg_check_modules(LUA REQUIRED IMPORTED_TARGET lua5.1-c++)
pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl)
pkg_check_modules(SDL_IMAGE REQUIRED IMPORTED_TARGET SDL_image)
pkg_check_modules(SDL_TTF REQUIRED IMPORTED_TARGET SDL_ttf)
pkg_check_modules(SDL_GFX REQUIRED IMPORTED_TARGET SDL_gfx)
pkg_check_modules(PHYSFS REQUIRED IMPORTED_TARGET physfs)
pkg_check_modules(ODE REQUIRED IMPORTED_TARGET ode)
pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET vorbisfile vorbisenc vorbis)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
# Pictures are decoded by libpng and libjpeg directly (resources/PictureDecoder).
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
# The pointer grab asks the X server itself once before SDL's blocking grab (PointerGrab).
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)

add_library(bb_deps INTERFACE)
target_link_libraries(bb_deps INTERFACE
  PkgConfig::LUA PkgConfig::SDL PkgConfig::SDL_IMAGE PkgConfig::SDL_TTF PkgConfig::SDL_GFX
  PkgConfig::PHYSFS PkgConfig::ODE PkgConfig::VORBIS PkgConfig::FLUIDSYNTH PkgConfig::PNG PkgConfig::JPEG PkgConfig::X11
  Boost::headers Threads::Threads)
