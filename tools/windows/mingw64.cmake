# Cross-building for 64-bit Windows with Debian's mingw-w64, for the programs
# and for the libraries tools/windows.sh builds for them. The posix thread
# model, as the win32 one has no std::mutex; everything linked statically,
# so that the programs need only the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLETE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLETE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLETE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLETE}-windres)
set(CMAKE_AR ${MINGW_TRIPLETE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLETE}-gcc-ranlib-posix CACHE FILEPATH "")

# The libraries built for Windows (PASADAS_WINDOWS_PREFIJO) and mingw's own
# system root are the only places to look: never the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLETE} ${PASADAS_WINDOWS_PREFIJO})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PASADAS_WINDOWS_PREFIJO)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
