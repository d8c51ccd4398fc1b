# Compiler settings shared by every target of the project (not by GoogleTest),
# and the way a layer of the program becomes a library.
#
# Sources are UTF-8; the program's narrow strings become CP932 bytes at run
# time, because every text of the user interface is an ANSI string of the
# Japanese code page.
function(panelry_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_definitions(${target} PUBLIC
    _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600 NOMINMAX STRICT)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Werror -Wno-cast-function-type
    $<$<COMPILE_LANGUAGE:CXX>:-finput-charset=UTF-8 -fexec-charset=CP932>
    $<$<COMPILE_LANGUAGE:C>:-finput-charset=UTF-8 -fexec-charset=CP932>)
  # A static runtime: the .exe and .dll files run without MinGW's DLLs beside them.
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "EXECUTABLE" OR kind STREQUAL "SHARED_LIBRARY" OR kind STREQUAL "MODULE_LIBRARY")
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# panelry_layer(<name> SOURCES <files...> LINKS <libraries...>)
#
# One layer of the program as the static library panelry_<name>. LINKS names
# the layer just below it (which brings the rest below) and the system
# libraries the layer itself calls; never a layer above. Which headers a
# layer may include is checked by cmake/CheckLayers.cmake from the table in
# cmake/Layers.cmake.
function(panelry_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  add_library(panelry_${name} STATIC ${L_SOURCES})
  panelry_target_defaults(panelry_${name})
  target_include_directories(panelry_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(panelry_${name} PUBLIC ${L_LINKS})
endfunction()

# The files resources/panelry.rc includes (its icons, the settings dialog's
# templates), so that a change to one rebuilds every program that carries
# the resources. Call it in each directory that compiles panelry.rc.
function(panelry_resource_dependencies)
  file(GLOB included
    ${PROJECT_SOURCE_DIR}/resources/*.rc ${PROJECT_SOURCE_DIR}/resources/*.ico
    ${PROJECT_SOURCE_DIR}/resources/*.cur ${PROJECT_SOURCE_DIR}/resources/*.h
    ${PROJECT_SOURCE_DIR}/resources/*.manifest
    ${PROJECT_SOURCE_DIR}/resources/settings/*.rc
    ${PROJECT_SOURCE_DIR}/resources/launcher/*.rc
    ${PROJECT_SOURCE_DIR}/settings/dialog/*_ids.h
    ${PROJECT_SOURCE_DIR}/launcher/*_ids.h)
  set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/panelry.rc APPEND PROPERTY
    OBJECT_DEPENDS ${included})
endfunction()
