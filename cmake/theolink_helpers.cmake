# Every program lands in one folder so HELP.txt and the INI file sit beside them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

include(${CMAKE_CURRENT_LIST_DIR}/layer_table.cmake)
theolink_read_layer_table(${CMAKE_SOURCE_DIR}/README.md)

# theolink_warnings(TARGET): the warning set of every target; THEOLINK_WERROR makes them errors.
function(theolink_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(THEOLINK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# theolink_include_tree(OUT NAME FOLDERS...): a folder under the build tree that holds a link
# to each named src/ folder and nothing else, so `#include "serial/..."` only resolves where
# serial is listed. Folders that do not exist (yet) are left out.
function(theolink_include_tree out name)
  set(tree ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${tree})
  # Drop links a former configuration made; file(REMOVE) removes a link, never its target.
  file(GLOB old LIST_DIRECTORIES true ${tree}/*)
  foreach(link IN LISTS old)
    if(IS_SYMLINK ${link})
      file(REMOVE ${link})
    endif()
  endforeach()
  foreach(folder IN LISTS ARGN)
    if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/src/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${folder} ${tree}/${folder} SYMBOLIC)
    endif()
  endforeach()
  set(${out} ${tree} PARENT_SCOPE)
endfunction()

# theolink_layer_tree(OUT FOLDER): the include tree of a layer: its own folder and the ones its
# row of the README's layer table may use.
function(theolink_layer_tree out folder)
  if(NOT folder IN_LIST THEOLINK_LAYER_FOLDERS)
    message(FATAL_ERROR "src/${folder}/ has no row in the README's layer table")
  endif()
  theolink_include_tree(tree ${folder} ${folder} ${THEOLINK_LAYER_USES_${folder}})
  set(${out} ${tree} PARENT_SCOPE)
endfunction()

# theolink_layer_target(TARGET): include tree and warnings for a target built from the
# src/ folder it is declared in.
function(theolink_layer_target target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  theolink_layer_tree(tree ${folder})
  target_include_directories(${target} PRIVATE ${tree})
  theolink_warnings(${target})
endfunction()

# theolink_layer(NAME SOURCES files... [LINK deps...]): the static library of the current
# src/ folder. Linking it does not grant its headers: each user sees its own layer's tree.
function(theolink_layer name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  add_library(${name} STATIC ${arg_SOURCES})
  target_link_libraries(${name} PUBLIC ${arg_LINK})
  theolink_layer_target(${name})
endfunction()

# theolink_program(NAME SOURCES files... [LINK deps...]): a program of the current src/ folder.
function(theolink_program name)
  cmake_parse_arguments(arg "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LINK})
  theolink_layer_target(${name})
endfunction()

# theolink_test_folder(NAME LAYER FOLDER SOURCES files... LINK deps...): one GoogleTest program
# for tests/<folder>, seeing the src/ folders that LAYER may use and tests/ itself.
function(theolink_test_folder name)
  cmake_parse_arguments(arg "" "LAYER" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  theolink_layer_tree(tree ${arg_LAYER})
  target_include_directories(${name} PRIVATE ${tree} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${arg_LINK} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    THEOLINK_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    THEOLINK_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  theolink_warnings(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
endfunction()
