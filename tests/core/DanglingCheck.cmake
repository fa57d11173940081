# TemporaryAccessorsAreBuildErrors (clang builds, whose lifetime marks these are): compiles
# DanglingAccessors.cc with the engine's flags and passes when exactly its lines marked
# "dangles" fail with -Wdangling, and nothing else fails. The file is built only by the
# check, never by the default build.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  return()
endif()
add_library(bb_dangling_accessors OBJECT EXCLUDE_FROM_ALL
            ${CMAKE_CURRENT_LIST_DIR}/DanglingAccessors.cc)
target_link_libraries(bb_dangling_accessors PRIVATE MakoArcadeLib MakoEngine)
add_test(NAME TemporaryAccessorsAreBuildErrors
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
          -DSOURCE=${CMAKE_CURRENT_LIST_DIR}/DanglingAccessors.cc
          -P ${CMAKE_CURRENT_LIST_DIR}/ExpectDangling.cmake)
set_tests_properties(TemporaryAccessorsAreBuildErrors PROPERTIES TIMEOUT 300)
