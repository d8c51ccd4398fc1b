# Fails when a source file of the program includes a header of a layer above
# its own, or lies in a folder that belongs to no layer.
#
#   cmake -DPANELRY_SOURCE_DIR=<source tree> -P cmake/CheckLayers.cmake
#
# Only quoted includes are the program's; one that names no top-level folder
# of the source tree is read relative to the including file.
cmake_minimum_required(VERSION 3.20)
if(NOT PANELRY_SOURCE_DIR)
  get_filename_component(PANELRY_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/Layers.cmake")

set(layer_folders "")
foreach(entry IN LISTS PANELRY_LAYERS)
  string(REGEX MATCH "^([^:]+):(.*)$" ignored "${entry}")
  set(folder "${CMAKE_MATCH_1}")
  string(STRIP "${CMAKE_MATCH_2}" allowed)
  separate_arguments(allowed)
  list(APPEND layer_folders "${folder}")
  set("allowed_${folder}" ${allowed})
endforeach()

# The layer a path inside the tree belongs to: the longest folder of the
# table it lies in; empty for none.
function(layer_of path out)
  set(best "")
  foreach(folder IN LISTS layer_folders)
    string(LENGTH "${folder}" length)
    string(LENGTH "${best}" best_length)
    if((path MATCHES "^${folder}/") AND length GREATER best_length)
      set(best "${folder}")
    endif()
  endforeach()
  set(${out} "${best}" PARENT_SCOPE)
endfunction()

set(problems "")
set(checked 0)

# Every folder with sources is a layer or is named as no layer. Build trees
# (build/<width> included) are none.
file(GLOB top_entries RELATIVE "${PANELRY_SOURCE_DIR}" "${PANELRY_SOURCE_DIR}/*")
foreach(entry IN LISTS top_entries)
  file(GLOB build_trees "${PANELRY_SOURCE_DIR}/${entry}/CMakeCache.txt"
    "${PANELRY_SOURCE_DIR}/${entry}/*/CMakeCache.txt")
  if(NOT IS_DIRECTORY "${PANELRY_SOURCE_DIR}/${entry}" OR entry MATCHES "^\\."
     OR build_trees OR entry IN_LIST PANELRY_UNLAYERED_FOLDERS)
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE "${PANELRY_SOURCE_DIR}"
    "${PANELRY_SOURCE_DIR}/${entry}/*.h" "${PANELRY_SOURCE_DIR}/${entry}/*.c"
    "${PANELRY_SOURCE_DIR}/${entry}/*.cpp" "${PANELRY_SOURCE_DIR}/${entry}/*.rc")
  foreach(source IN LISTS sources)
    layer_of("${source}" layer)
    if(NOT layer)
      list(APPEND problems "${source}: lies in no layer of cmake/Layers.cmake")
      continue()
    endif()
    math(EXPR checked "${checked} + 1")
    get_filename_component(source_dir "${source}" DIRECTORY)
    file(STRINGS "${PANELRY_SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([^\"]+)\"" ignored "${line}")
      set(written "${CMAKE_MATCH_1}")
      set(included "${written}")
      string(REGEX MATCH "^[^/]+" first "${included}")
      if(NOT IS_DIRECTORY "${PANELRY_SOURCE_DIR}/${first}")
        set(included "${source_dir}/${included}")
      endif()
      if(included IN_LIST PANELRY_SHARED_HEADERS)
        continue()
      endif()
      layer_of("${included}" target)
      if(NOT target OR NOT target IN_LIST allowed_${layer})
        if(NOT target)
          set(target "no layer")
        endif()
        list(APPEND problems
          "${source}: includes \"${written}\" (${target}), which ${layer} may not")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
message(STATUS "${checked} files of the program, every include points down the layers")
