# Shared part of the mingw-w64 toolchain files; KESTRIN_MINGW_TRIPLET is set
# by the caller.
# The posix thread model: GoogleTest, used by the Windows test programs, needs
# std::mutex, which the win32 model lacks. Everything is linked statically,
# so no threading DLL is needed at run time.
set(CMAKE_C_COMPILER ${KESTRIN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTRIN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTRIN_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESTRIN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
