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
  target_include_directories(${name} PUBLIC ${dir})
endfunction()

# bb_platform_library(LAYER): the static library platform_LAYER of every .cpp in the
# current folder, its headers included as "LAYER/Header.h".
function(bb_platform_library layer)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(platform_${layer} STATIC ${sources})
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
