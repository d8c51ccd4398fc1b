# Lays the release folder out in STAGE_DIR and packs it into ZIP; run by the
# build (cmake/Release.cmake), never by hand.
#
#   cmake -DSOURCE_DIR= -DBIN_DIR= -DSTAGE_DIR= -DVERSION= -DTOOLS=a;b -DZIP= [-DSTRIP=]
#         -P MakeReleaseZip.cmake
#
# Only what is listed here goes in; anything else in the build's bin folder
# (tests, the sample application, settings files a run left there) stays out.
cmake_minimum_required(VERSION 3.20)
set(top "panelry-${VERSION}")
set(folder "${STAGE_DIR}/${top}")
file(REMOVE_RECURSE "${STAGE_DIR}")
file(MAKE_DIRECTORY "${folder}/tool" "${folder}/docs/images")

file(COPY "${BIN_DIR}/panelry.exe" "${BIN_DIR}/inputtap.dll" "${BIN_DIR}/tools.default.ini"
  "${BIN_DIR}/menu.default.ini" DESTINATION "${folder}")
foreach(tool IN LISTS TOOLS)
  file(COPY "${BIN_DIR}/tool/${tool}.ttl" DESTINATION "${folder}/tool")
endforeach()
# Without the debugging information the build keeps for the tests: a
# fifth of the size, and the same code.
if(STRIP)
  file(GLOB binaries "${folder}/*.exe" "${folder}/*.dll" "${folder}/tool/*.ttl")
  execute_process(COMMAND "${STRIP}" --strip-debug ${binaries} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${binaries}")
  endif()
endif()
# Named so that a double-click opens it on Windows.
configure_file("${SOURCE_DIR}/LICENSE" "${folder}/LICENSE.txt" COPYONLY)
file(GLOB pages "${SOURCE_DIR}/docs/*.html" "${SOURCE_DIR}/docs/*.css")
file(GLOB pictures "${SOURCE_DIR}/docs/images/*.png")
if(pages)
  file(COPY ${pages} DESTINATION "${folder}/docs")
endif()
if(pictures)
  file(COPY ${pictures} DESTINATION "${folder}/docs/images")
endif()

file(REMOVE "${ZIP}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip -- "${top}"
  WORKING_DIRECTORY "${STAGE_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot pack ${ZIP}")
endif()
