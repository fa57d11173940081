# cmake -DBUILD_DIR=... -DSOURCE=... -P ExpectDangling.cmake: builds bb_dangling_accessors
# in BUILD_DIR and fails unless the build fails with a -Wdangling error on each line of
# SOURCE marked "// dangles" and with no other error.
file(STRINGS ${SOURCE} lines)
set(expected "")
set(number 0)
foreach(line IN LISTS lines)
  math(EXPR number "${number} + 1")
  if(line MATCHES "// dangles$")
    list(APPEND expected ${number})
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target bb_dangling_accessors
                OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result)
get_filename_component(name ${SOURCE} NAME)
string(REGEX MATCHALL "${name}:[0-9]+:[0-9]+: error: [^\n]*" errors "${out}")
set(dangling "")
set(others "")
foreach(error IN LISTS errors)
  string(REGEX MATCH "^${name}:([0-9]+):" _ "${error}")
  set(line ${CMAKE_MATCH_1})
  if(error MATCHES "-Wdangling")
    list(APPEND dangling ${line})
  else()
    list(APPEND others "${error}")
  endif()
endforeach()
list(REMOVE_DUPLICATES dangling)
if(result EQUAL 0 OR NOT dangling STREQUAL expected OR others)
  message(FATAL_ERROR "expected -Wdangling errors on lines ${expected} and no other error; "
                      "got dangling on lines '${dangling}', other errors '${others}':\n${out}")
endif()
message(STATUS "each of lines ${expected} is a -Wdangling error")
