# Cross-building for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, for
# std::thread). Every program is linked statically so each .exe runs on its own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(THEOLINK_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${THEOLINK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${THEOLINK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${THEOLINK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${THEOLINK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# CTest runs the test programs under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
