# Runs tests of tests/package/package_test.cpp against the release as a user
# gets it: the zip the build packed, unpacked into a fresh folder whose path
# has a space and Japanese characters (ソ's second byte in code page 932 is
# a backslash). STEPS lists, in order, "unpack" (the zip unpacked there,
# over whatever is there already) and the names of the tests to run, one
# at a time; each must run and pass. The tests find the unpacked folder
# through PANELRY_RELEASE_FOLDER and run in a folder of their own.
#
#   cmake -DZIP= -DFOLDER= -DPROGRAM= [-DEMULATOR=wine] -DSTEPS=unpack;Suite.Test
#         -P UnpackAndRun.cmake
cmake_minimum_required(VERSION 3.20)
foreach(name ZIP FOLDER PROGRAM STEPS)
  if(NOT ${name})
    message(FATAL_ERROR "${name} is not given")
  endif()
endforeach()
if(NOT EXISTS "${ZIP}")
  message(FATAL_ERROR "${ZIP} is missing: the build packs it (target release_zip)")
endif()

set(unpacked "${FOLDER}/パネル 試験ソフト")
set(working "${FOLDER}/working folder")
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${unpacked}" "${working}")
if(EMULATOR)
  # Wine shows the Unix root as drive Z:.
  string(REPLACE "/" "\\" windows_folder "Z:${unpacked}")
else()
  file(TO_NATIVE_PATH "${unpacked}" windows_folder)
endif()
set(ENV{PANELRY_RELEASE_FOLDER} "${windows_folder}")

foreach(step IN LISTS STEPS)
  if(step STREQUAL "unpack")
    message(STATUS "unpacking ${ZIP} into ${unpacked}")
    file(ARCHIVE_EXTRACT INPUT "${ZIP}" DESTINATION "${unpacked}")
    continue()
  endif()
  execute_process(COMMAND ${EMULATOR} "${PROGRAM}" "--gtest_filter=${step}"
    WORKING_DIRECTORY "${working}" RESULT_VARIABLE failed OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
  string(REGEX REPLACE "(^|\n)(wine: |[0-9a-f]+:fixme:)[^\n]*" "" shown "${output}")
  message("${shown}")
  if(failed OR NOT output MATCHES "\\[  PASSED  \\] 1 test\\.")
    message(FATAL_ERROR "${step} did not pass")
  endif()
endforeach()
file(REMOVE_RECURSE "${FOLDER}")
