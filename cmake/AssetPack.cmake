# The default asset pack. Included from the top-level CMakeLists.txt, it adds the target
# `assets` (built by default): the asset generator writes Assets/ afresh, which is then
# zipped into the package file bumperlux.fun with the folder's contents at the archive's
# root; the Site/ folder is made alongside. Runs again only when the generator changed.
#
# Run as a script, `cmake -DASSETS_DIR=<dir> -DPACKAGE_FILE=<file> -P AssetPack.cmake`
# packs a folder: entries sorted by path, no directory entries, no extra attributes,
# every file dated 2000-01-01 00:00 UTC with mode 644, so the same folder always gives
# the same archive bytes.
#
# Run as a script with -DASSETGEN=<generator program> -DASSETS_DIR=<dir> (and no
# PACKAGE_FILE), it writes the pack afresh into dir, removing what was there. With
# -DASSETS_FROM=<the build's Assets/> instead of ASSETGEN it copies that pack afresh into
# dir; the tests and the quick soak make their copy of the pack this way.

if(CMAKE_SCRIPT_MODE_FILE AND ASSETS_FROM)
  if(NOT ASSETS_DIR OR NOT IS_DIRECTORY "${ASSETS_FROM}/Images")
    message(FATAL_ERROR "AssetPack: give -DASSETS_DIR=<folder> and -DASSETS_FROM=<a generated pack>"
                        " (${ASSETS_FROM} holds none: build the target assets)")
  endif()
  file(REMOVE_RECURSE "${ASSETS_DIR}")
  file(COPY "${ASSETS_FROM}/" DESTINATION "${ASSETS_DIR}")
  return()
endif()

if(CMAKE_SCRIPT_MODE_FILE AND ASSETGEN)
  if(NOT ASSETS_DIR)
    message(FATAL_ERROR "AssetPack: give -DASSETS_DIR=<folder> with -DASSETGEN")
  endif()
  file(REMOVE_RECURSE "${ASSETS_DIR}")
  execute_process(COMMAND "${ASSETGEN}" "${ASSETS_DIR}" OUTPUT_QUIET RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    file(REMOVE_RECURSE "${ASSETS_DIR}")
    message(FATAL_ERROR "AssetPack: ${ASSETGEN} failed (${rc}) writing ${ASSETS_DIR}")
  endif()
  return()
endif()

if(CMAKE_SCRIPT_MODE_FILE)
  if(NOT ASSETS_DIR OR NOT PACKAGE_FILE OR NOT IS_DIRECTORY "${ASSETS_DIR}")
    message(FATAL_ERROR "AssetPack: give -DASSETS_DIR=<existing folder> -DPACKAGE_FILE=<file>")
  endif()
  find_program(ZIP_PROGRAM zip REQUIRED)
  find_program(TOUCH_PROGRAM touch REQUIRED)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${ASSETS_DIR}" "${ASSETS_DIR}/*")
  if(NOT files)
    message(FATAL_ERROR "AssetPack: ${ASSETS_DIR} holds no files")
  endif()
  list(SORT files)
  foreach(f IN LISTS files)
    file(CHMOD "${ASSETS_DIR}/${f}" FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endforeach()
  execute_process(COMMAND "${TOUCH_PROGRAM}" -d @946684800 ${files}
    WORKING_DIRECTORY "${ASSETS_DIR}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "AssetPack: could not set the files' dates in ${ASSETS_DIR}")
  endif()
  string(REPLACE ";" "\n" listing "${files}")
  set(list_file "${PACKAGE_FILE}.list")
  set(tmp_file "${PACKAGE_FILE}.tmp")
  file(WRITE "${list_file}" "${listing}\n")
  file(REMOVE "${tmp_file}")
  # zip writes local times: pin the zone so the stored dates do not depend on it.
  execute_process(COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC
      "${ZIP_PROGRAM}" -X -D -q -9 "${tmp_file}" -@
    INPUT_FILE "${list_file}" WORKING_DIRECTORY "${ASSETS_DIR}" RESULT_VARIABLE rc)
  file(REMOVE "${list_file}")
  if(NOT rc EQUAL 0)
    file(REMOVE "${tmp_file}")
    message(FATAL_ERROR "AssetPack: zip failed (${rc}) packing ${ASSETS_DIR}")
  endif()
  file(RENAME "${tmp_file}" "${PACKAGE_FILE}")
  return()
endif()

set(BB_ASSETS_DIR ${CMAKE_BINARY_DIR}/Assets)
set(BB_PACKAGE_FILE ${CMAKE_BINARY_DIR}/bumperlux.fun)
set(BB_ASSETS_STAMP ${CMAKE_BINARY_DIR}/assets.stamp)
# The pack carries the level files: an edited level makes it again.
file(GLOB BB_LEVEL_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/game/Levels/*.lua)
add_custom_command(
  OUTPUT ${BB_ASSETS_STAMP}
  BYPRODUCTS ${BB_PACKAGE_FILE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${BB_ASSETS_DIR}
  COMMAND $<TARGET_FILE:assetgen> ${BB_ASSETS_DIR}
  COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${BB_ASSETS_DIR} -DPACKAGE_FILE=${BB_PACKAGE_FILE}
          -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Site
  COMMAND ${CMAKE_COMMAND} -E touch ${BB_ASSETS_STAMP}
  DEPENDS assetgen ${CMAKE_CURRENT_LIST_FILE} ${BB_LEVEL_FILES}
  COMMENT "Generating the asset pack: Assets/ and bumperlux.fun"
  VERBATIM)
add_custom_target(assets ALL DEPENDS ${BB_ASSETS_STAMP})
