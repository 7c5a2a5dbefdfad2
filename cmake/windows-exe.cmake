# Kestrin.exe: the Win32 half of the tool plus its resources, linked so that
# it needs only the DLLs every Windows has (KERNEL32, ADVAPI32, msvcrt).
enable_language(RC)

# Options for every small, self-contained program of the Windows build: no
# exceptions or RTTI, unused code dropped, the GCC and C++ runtimes linked
# in, symbols stripped, and nothing that differs between two builds of the
# same sources (no link time stamp, no compiler identification strings).
# 32-bit Windows does not unwind through DWARF tables; without exceptions
# nothing reads them, so none are emitted there.
set(KESTRIN_SMALL_FLAGS -fno-exceptions -fno-rtti -ffunction-sections -fno-ident
  -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND KESTRIN_SMALL_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables)
endif()

# Every Windows program of the build, the test programs too, links the C++
# and GCC runtimes in, so that it runs with only the system's DLLs.
set(KESTRIN_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

function(kestrin_small_program target)
  if(MINGW)
    target_compile_options(${target} PRIVATE ${KESTRIN_SMALL_FLAGS})
    target_link_options(${target} PRIVATE ${KESTRIN_STATIC_RUNTIME} -s
      -Wl,--gc-sections -Wl,--no-insert-timestamp)
  endif()
endfunction()

add_executable(Kestrin tool/platform-win32.cc tool/kestrin.rc)
target_link_libraries(Kestrin PRIVATE kestrin_logic advapi32)
set_target_properties(Kestrin PROPERTIES OUTPUT_NAME Kestrin)
# The resource compiler finds the manifest beside the .rc file.
set_source_files_properties(tool/kestrin.rc PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tool/kestrin.manifest)
kestrin_small_program(Kestrin)
if(MSVC)
  # The manifest comes from kestrin.rc; a static C runtime, as with mingw-w64.
  target_link_options(Kestrin PRIVATE /MANIFEST:NO)
  set_target_properties(Kestrin kestrin_logic PROPERTIES
    MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
endif()
if(MINGW)
  target_compile_options(kestrin_logic PRIVATE ${KESTRIN_SMALL_FLAGS})
endif()

# The floor for start-up benchmarks: a program that does nothing, built the
# same way.
add_executable(empty_program EXCLUDE_FROM_ALL bench/empty_program.cc)
kestrin_small_program(empty_program)

# What the shipped program must be: importing only the system DLLs every
# Windows has, asking for no elevation of its own, and small.
if(MINGW)
  find_program(KESTRIN_TARGET_OBJDUMP NAMES ${KESTRIN_MINGW_TRIPLET}-objdump objdump)
  add_test(NAME kestrin_exe_properties
    COMMAND ${CMAKE_COMMAND}
      -DEXE=$<TARGET_FILE:Kestrin>
      -DOBJDUMP=${KESTRIN_TARGET_OBJDUMP}
      -DMAX_SIZE=20480
      -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/check-exe.cmake)
endif()

# The release ZIP: Kestrin.exe, the README and SHA256SUMS of both, in a
# folder Kestrin-0.10-win64 (or -win32). Made by `cpack` in the build folder.
set(KESTRIN_SUMS ${CMAKE_BINARY_DIR}/SHA256SUMS)
add_custom_command(OUTPUT ${KESTRIN_SUMS}
  COMMAND ${CMAKE_COMMAND} -DOUT=${KESTRIN_SUMS}
    "-DFILES=$<TARGET_FILE:Kestrin>;${CMAKE_SOURCE_DIR}/README.md"
    -P ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake
  DEPENDS Kestrin ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake
  VERBATIM)
add_custom_target(sha256sums ALL DEPENDS ${KESTRIN_SUMS})

install(TARGETS Kestrin RUNTIME DESTINATION .)
install(FILES README.md ${KESTRIN_SUMS} DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kestrin)
set(CPACK_PACKAGE_VENDOR Vaskori)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kestrin-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
