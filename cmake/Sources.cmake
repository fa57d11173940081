# bb_unity_build(TARGET): in the sanitized test build (BB_SANITIZE) TARGET compiles its files
# in unity batches of BB_UNITY_BATCH_SIZE, each batch one compile that parses the headers its
# files share once. A name local to a .cpp file (anonymous namespace, static) is therefore
# unique within its target. The Release and gcc builds compile file by file, so they still
# show a file that forgets an include.
set(BB_UNITY_BATCH_SIZE 8 CACHE STRING
    "Files a unity batch of the sanitized test build compiles together")
function(bb_unity_build target)
  if(NOT BB_SANITIZE)
    return()
  endif()
  set_target_properties(${target} PROPERTIES
    UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${BB_UNITY_BATCH_SIZE})
  # A file that includes the window system's headers (SDL_syswm.h, X11/) compiles alone:
  # their typedefs and macros (Font, Window, None, Bool, Status) would reach the other files
  # of its batch and clash with the engine's own names.
  get_target_property(sources ${target} SOURCES)
  foreach(src ${sources})
    if(EXISTS ${src})
      file(STRINGS ${src} window_system REGEX "^#include <(SDL_syswm\\.h|X11/)")
      if(window_system)
        set_source_files_properties(${src} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    endif()
  endforeach()
endfunction()

# bb_object_library(NAME DIR): an object library of every .cpp below DIR, with DIR and
# its parent on the include path (headers are included as "core/Exception.h").
function(bb_object_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    set(stub ${CMAKE_BINARY_DIR}/generated/${name}_empty.cpp)
    file(WRITE ${stub} "// ${name} has no sources yet.\n")
    set(sources ${stub})
  endif()
  add_library(${name} OBJECT ${sources})
  bb_unity_build(${name})
  target_include_directories(${name} PUBLIC ${dir})
endfunction()

# bb_platform_library(LAYER): the static library platform_LAYER of every .cpp in the
# current folder, its headers included as "LAYER/Header.h".
function(bb_platform_library layer)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(platform_${layer} STATIC ${sources})
  bb_unity_build(platform_${layer})
  target_include_directories(platform_${layer} PUBLIC ${CMAKE_SOURCE_DIR}/platform)
  target_link_libraries(platform_${layer} PUBLIC bb_deps)
endfunction()

# bb_precompile(TARGET [TEST]): with BB_PCH, TARGET compiles its C++ files against the
# precompiled cmake/CommonHeaders.h (TEST: cmake/TestHeaders.h, which adds GoogleTest).
# The first target of each header makes it; every later one reuses that one, so a build
# compiles each header once instead of once a target. The build's sanitizer, coverage and
# warning flags, which a precompiled header must match, are the same for every target;
# the definitions and include folders a target adds may differ.
function(bb_precompile target)
  if(NOT BB_PCH)
    return()
  endif()
  set(kind COMMON)
  set(header ${CMAKE_SOURCE_DIR}/cmake/CommonHeaders.h)
  if(ARGN STREQUAL "TEST")
    set(kind TEST)
    set(header ${CMAKE_SOURCE_DIR}/cmake/TestHeaders.h)
  endif()
  # gcc reads a precompiled header only as the first file of a compile, so the header
  # brings core/Lifetime.h (cmake/CommonHeaders.h) in place of the build's -include of it.
  get_target_property(options ${target} COMPILE_OPTIONS)
  list(REMOVE_ITEM options "${BB_LIFETIME_INCLUDE}")
  set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS "${options}")
  get_property(owner GLOBAL PROPERTY BB_PCH_OWNER_${kind})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${header}>")
    set_property(GLOBAL PROPERTY BB_PCH_OWNER_${kind} ${target})
  endif()
endfunction()

# bb_run_needs(TARGET ITEM...): the programs (targets) and files TARGET runs or reads when it
# runs are made before TARGET is linked. On its link only: its compiles wait for none of
# them, so the build keeps every core busy while they are made.
function(bb_run_needs target)
  foreach(item ${ARGN})
    if(TARGET ${item})
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS $<TARGET_FILE:${item}>)
    else()
      set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${item})
    endif()
  endforeach()
endfunction()
