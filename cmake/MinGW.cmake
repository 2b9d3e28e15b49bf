# Cross-builds the Windows programs and tests with MinGW-w64 from Debian:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW.cmake
# The -posix compilers give std::thread and std::mutex. The C and C++
# run-time libraries and the threads library are linked in statically, so an
# .exe runs under Wine (or on a Windows machine) without any DLL beside it.
# Tests and build steps that run a program run it under Wine, in a prefix of
# its own inside the build folder.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(orvane_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${orvane_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${orvane_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${orvane_mingw}-windres)

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${orvane_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
