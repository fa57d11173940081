# Embedding files in the program as its own resources.
#
# bb_embed_resources(TARGET LIST_FILE) reads LIST_FILE (one path or glob pattern per line,
# relative to the source root; '#' starts a comment line) and adds to TARGET a generated
# source that holds the bytes of every listed file and registers them, before main runs,
# as program resources of type "MAKO_RESOURCE" (win32/ProgramResources.h): each under its
# file name in upper case, plus "RESOURCE_TABLE", the name table: for each file, its name
# in its own case, a NUL byte, its upper-case name, a NUL byte, back to back. With no
# files there is no table. New files matching a pattern are picked up at the next build.
#
# Run as a script, `cmake -DLIST=<file of paths> -DOUTPUT=<source> -P EmbedResources.cmake`
# writes the source for the absolute paths listed in LIST, one per line.

if(CMAKE_SCRIPT_MODE_FILE)
  file(STRINGS "${LIST}" files)
  set(arrays "")
  set(entries "")
  set(table_hex "")
  set(index 0)
  foreach(path IN LISTS files)
    get_filename_component(file_name "${path}" NAME)
    string(TOUPPER "${file_name}" resource_name)
    file(READ "${path}" hex HEX)
    file(SIZE "${path}" size)
    if(size EQUAL 0)
      set(hex "00")
    endif()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char kFile${index}[] = {${bytes}};\n")
    string(APPEND entries "    {\"MAKO_RESOURCE\", \"${resource_name}\", kFile${index}, ${size}u},\n")
    string(HEX "${file_name}" name_hex)
    string(HEX "${resource_name}" resource_hex)
    string(APPEND table_hex "${name_hex}00${resource_hex}00")
    math(EXPR index "${index} + 1")
  endforeach()

  set(source "// Generated from the program's resource list by cmake/EmbedResources.cmake.\n")
  string(APPEND source "#include \"win32/ProgramResources.h\"\n\nnamespace {\n\n")
  if(index GREATER 0)
    string(LENGTH "${table_hex}" table_digits)
    math(EXPR table_size "${table_digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," table_bytes "${table_hex}")
    string(APPEND source "${arrays}")
    string(APPEND source "const unsigned char kResourceTable[] = {${table_bytes}};\n\n")
    string(APPEND source "const ProgramResourceEntry kEntries[] = {\n${entries}")
    string(APPEND source "    {\"MAKO_RESOURCE\", \"RESOURCE_TABLE\", kResourceTable, ${table_size}u},\n};\n\n")
    string(APPEND source "struct Registrar\n{\n    Registrar()\n    {\n")
    string(APPEND source "        RegisterProgramResources(kEntries, sizeof(kEntries) / sizeof(kEntries[0]));\n")
    string(APPEND source "    }\n} registrar;\n\n")
  endif()
  string(APPEND source "} // namespace\n")
  file(WRITE "${OUTPUT}.tmp" "${source}")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

set(BB_EMBED_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(bb_embed_resources target list_file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines)
  set(files "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    file(GLOB matched CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${line})
    list(APPEND files ${matched})
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(SORT files)

  # Resource names are the upper-case file names: two files may not share one.
  set(seen "")
  foreach(path IN LISTS files)
    get_filename_component(file_name "${path}" NAME)
    string(TOUPPER "${file_name}" resource_name)
    if(resource_name IN_LIST seen)
      message(FATAL_ERROR "bb_embed_resources: two files are named ${file_name} (in any case); "
                          "resource names must be unique: ${path}")
    endif()
    list(APPEND seen "${resource_name}")
  endforeach()

  set(generated_dir ${CMAKE_BINARY_DIR}/generated)
  set(paths_file ${generated_dir}/${target}_resources.txt)
  set(output ${generated_dir}/${target}_EmbeddedResources.cpp)
  string(REPLACE ";" "\n" listing "${files}")
  file(CONFIGURE OUTPUT ${paths_file} CONTENT "${listing}\n" @ONLY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DLIST=${paths_file} -DOUTPUT=${output} -P ${BB_EMBED_RESOURCES_SCRIPT}
    DEPENDS ${files} ${paths_file} ${BB_EMBED_RESOURCES_SCRIPT}
    COMMENT "Embedding the program's resources (${target})"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
