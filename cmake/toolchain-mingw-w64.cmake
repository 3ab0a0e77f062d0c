# Cross build for 64-bit Windows with Debian's mingw-w64 GCC (the POSIX
# threads variant, which has std::thread and std::mutex):
#   cmake -S . -B build-windows --toolchain cmake/toolchain-mingw-w64.cmake
# Libraries built for Windows (GoogleTest, the CLI11 headers) are looked up
# only under the mingw-w64 root and the folders in CMAKE_FIND_ROOT_PATH given
# on the command line, never among the build machine's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KALVITRA_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KALVITRA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVITRA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVITRA_MINGW_TRIPLET}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KALVITRA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run on a bare Windows: the C++ runtime, libgcc and
# winpthreads go into each .exe instead of DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests and the tool run here under Wine, when it is installed.
find_program(KALVITRA_WINE NAMES wine64 wine)
if(KALVITRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KALVITRA_WINE})
endif()
