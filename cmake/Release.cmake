# The release a Windows user downloads: panelry-<version>-<width>.zip
# (width 32bit or 64bit, the build's) with one folder, panelry-<version>/, that runs wherever it is unpacked: the
# program, the hook library, the delivered tools in tool/ with
# tools.default.ini, menu.default.ini, the user guide in docs/ and the licence. It holds no
# file the program writes (system.ini, tools.ini, menu.ini, ...), so a newer
# release unpacked over an older folder replaces none of the user's settings.
#
# The version is read from base/version.h, the one place it is written.
file(STRINGS ${PROJECT_SOURCE_DIR}/base/version.h version_lines
  REGEX "^#define PANELRY_VERSION_(MAJOR|MINOR) [0-9]+$")
foreach(line IN LISTS version_lines)
  string(REGEX MATCH "(MAJOR|MINOR) ([0-9]+)$" ignored "${line}")
  set(version_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()
if(NOT DEFINED version_MAJOR OR NOT DEFINED version_MINOR)
  message(FATAL_ERROR "base/version.h defines no PANELRY_VERSION_MAJOR and _MINOR")
endif()
set(PANELRY_VERSION "${version_MAJOR}.${version_MINOR}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/base/version.h)

# Both widths unpack into the same folder name, so that the other width's
# zip unpacked over a folder in use keeps the user's settings as a newer
# release's does.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PANELRY_WIDTH_NAME 64bit)
else()
  set(PANELRY_WIDTH_NAME 32bit)
endif()
set(PANELRY_RELEASE_ZIP ${CMAKE_BINARY_DIR}/panelry-${PANELRY_VERSION}-${PANELRY_WIDTH_NAME}.zip)
# The guide and its pictures (scripts/guide_screens.sh makes the pictures).
file(GLOB guide CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/docs/*.html ${PROJECT_SOURCE_DIR}/docs/*.css
  ${PROJECT_SOURCE_DIR}/docs/images/*.png)
get_property(delivered_tools GLOBAL PROPERTY PANELRY_DELIVERED_TOOLS)
set(tool_files "")
foreach(tool IN LISTS delivered_tools)
  list(APPEND tool_files ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tool/${tool}.ttl)
endforeach()

add_custom_command(OUTPUT ${PANELRY_RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND}
    -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    -DBIN_DIR=${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    -DSTAGE_DIR=${CMAKE_BINARY_DIR}/release
    -DVERSION=${PANELRY_VERSION}
    "-DTOOLS=${delivered_tools}"
    -DZIP=${PANELRY_RELEASE_ZIP}
    -DSTRIP=${CMAKE_STRIP}
    -P ${PROJECT_SOURCE_DIR}/cmake/MakeReleaseZip.cmake
  DEPENDS panelry inputtap ${delivered_tools} ${tool_files}
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/tools.default.ini
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/menu.default.ini
    ${PROJECT_SOURCE_DIR}/LICENSE ${guide}
    ${PROJECT_SOURCE_DIR}/cmake/MakeReleaseZip.cmake
  COMMENT "Packing panelry-${PANELRY_VERSION}-${PANELRY_WIDTH_NAME}.zip"
  VERBATIM)
add_custom_target(release_zip ALL DEPENDS ${PANELRY_RELEASE_ZIP})
