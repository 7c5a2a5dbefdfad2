# cmake -DEXE=... -DOBJDUMP=... -DMAX_SIZE=... -P check-exe.cmake
# Fails unless EXE imports exactly KERNEL32, ADVAPI32 and msvcrt, embeds a
# manifest asking for asInvoker, and is at most MAX_SIZE bytes.
execute_process(COMMAND ${OBJDUMP} -p ${EXE}
  OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
set(dlls)
foreach(line IN LISTS lines)
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOUPPER "${dll}" dll)
  list(APPEND dlls "${dll}")
endforeach()
list(SORT dlls)
message(STATUS "imports: ${dlls}")
if(NOT dlls STREQUAL "ADVAPI32.DLL;KERNEL32.DLL;MSVCRT.DLL")
  message(FATAL_ERROR "expected imports ADVAPI32.DLL;KERNEL32.DLL;MSVCRT.DLL, got: ${dlls}")
endif()

file(READ ${EXE} bytes HEX)
string(HEX "asInvoker" invoker)
string(FIND "${bytes}" "${invoker}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "no asInvoker manifest in ${EXE}")
endif()

file(SIZE ${EXE} size)
message(STATUS "size: ${size} bytes (at most ${MAX_SIZE})")
if(size GREATER MAX_SIZE)
  message(FATAL_ERROR "${EXE} is ${size} bytes, more than ${MAX_SIZE}")
endif()
