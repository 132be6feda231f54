# Cross toolchain: 32-bit Windows with mingw-w64 (posix thread model). Built, not run: no 32-bit Wine here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(PENDULIX_NO_EMULATOR ON)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
