# Kestrin.exe: the Win32 half of the tool plus its resources, linked so that
# it needs only the DLLs every Windows has (KERNEL32, ADVAPI32, msvcrt).
enable_language(RC)

add_executable(Kestrin tool/platform-win32.cc tool/kestrin.rc)
target_link_libraries(Kestrin PRIVATE kestrin_logic advapi32)
set_target_properties(Kestrin PROPERTIES OUTPUT_NAME Kestrin)
# The resource compiler finds the manifest beside the .rc file.
set_source_files_properties(tool/kestrin.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tool/kestrin.manifest)

if(MINGW)
  # A small, self-contained program: no exceptions or RTTI needed, the GCC
  # and C++ runtimes linked in, symbols stripped, no link time stamp.
  target_compile_options(kestrin_logic PUBLIC -fno-exceptions -fno-rtti)
  target_link_options(Kestrin PRIVATE
    -static -static-libgcc -static-libstdc++ -s
    -Wl,--no-insert-timestamp)
endif()
