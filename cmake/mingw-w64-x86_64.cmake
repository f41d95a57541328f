# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64). The POSIX
# threads variant, since std::thread and std::mutex need it in this GCC.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARMIO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARMIO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARMIO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TARMIO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARMIO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe runs alone: the compiler's own runtime libraries are linked in, not shipped beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# GCC 12 at -O3 warns of overlapping copies inside std::string's own operator+ that cannot happen
# (-Wrestrict, a known false alarm); -O2, as the native release builds use, does not.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the release build")
