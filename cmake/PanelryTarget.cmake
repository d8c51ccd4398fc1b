# Compiler settings shared by every target of the project (not by GoogleTest).
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
