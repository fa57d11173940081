# The default asset pack. Included from the top-level CMakeLists.txt, it adds the target
# `assets` (built by default): the asset generator writes Assets/ afresh, which is then
# zipped into the package file bumperlux.fun with the folder's contents at the archive's
# root; the Site/ folder is made alongside. The author's own files (game/Assets/, in the
# pack's folders) are copied over what the generator wrote. Runs again when the generator
# changed or the files of game/Levels or game/Assets did: which files there are and what they
# hold, not only their times (SOURCE_LIST below).
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
#
# Run as a script with -DSOURCE_LIST=<file>, it writes into file each file of game/Levels and
# game/Assets with its SHA-1, and only when that list differs from the file's: the pack
# depends on the list, so a file deleted, added (whatever its date) or changed makes it again.

# The source folders whose files the pack carries: the level files (which the generator
# copies) and the author's own files (copied over the generated pack).
set(BB_PACK_SOURCES "${CMAKE_CURRENT_LIST_DIR}/../game/Levels" "${CMAKE_CURRENT_LIST_DIR}/../game/Assets")

# Copies the author's own files (game/Assets/) over the pack in folder.
function(bb_copy_author_files folder)
  list(GET BB_PACK_SOURCES 1 author)
  if(IS_DIRECTORY "${author}")
    file(COPY "${author}/" DESTINATION "${folder}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND SOURCE_LIST)
  set(listing "")
  foreach(dir IN LISTS BB_PACK_SOURCES)
    file(GLOB_RECURSE files LIST_DIRECTORIES false "${dir}/*")
    list(SORT files)
    foreach(f IN LISTS files)
      file(SHA1 "${f}" digest)
      file(RELATIVE_PATH rel "${CMAKE_CURRENT_LIST_DIR}/.." "${f}")
      string(APPEND listing "${digest} ${rel}\n")
    endforeach()
  endforeach()
  set(old "")
  if(EXISTS "${SOURCE_LIST}")
    file(READ "${SOURCE_LIST}" old)
  endif()
  if(NOT old STREQUAL listing)
    file(WRITE "${SOURCE_LIST}" "${listing}")
  endif()
  return()
endif()

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
  bb_copy_author_files("${ASSETS_DIR}")
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
# The list of the pack's source files and their digests, written on every build but changed
# only when they did (restat): the pack depends on it.
set(BB_PACK_SOURCE_LIST ${CMAKE_BINARY_DIR}/pack-sources.list)
add_custom_target(pack_sources
  COMMAND ${CMAKE_COMMAND} -DSOURCE_LIST=${BB_PACK_SOURCE_LIST} -P ${CMAKE_CURRENT_LIST_FILE}
  BYPRODUCTS ${BB_PACK_SOURCE_LIST}
  COMMENT "Listing the asset pack's source files"
  VERBATIM)
add_custom_command(
  OUTPUT ${BB_ASSETS_STAMP}
  BYPRODUCTS ${BB_PACKAGE_FILE}
  COMMAND ${CMAKE_COMMAND} -DASSETGEN=$<TARGET_FILE:assetgen> -DASSETS_DIR=${BB_ASSETS_DIR}
          -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${BB_ASSETS_DIR} -DPACKAGE_FILE=${BB_PACKAGE_FILE}
          -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Site
  COMMAND ${CMAKE_COMMAND} -E touch ${BB_ASSETS_STAMP}
  DEPENDS assetgen ${CMAKE_CURRENT_LIST_FILE} ${BB_PACK_SOURCE_LIST}
  COMMENT "Generating the asset pack: Assets/ and bumperlux.fun"
  VERBATIM)
add_custom_target(assets ALL DEPENDS ${BB_ASSETS_STAMP})
