# Cross-builds the Windows programs with Debian's mingw-w64, the -posix
# flavour (the -win32 one has no std::thread or std::mutex in GCC 12):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(q5480_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${q5480_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${q5480_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${q5480_mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${q5480_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own run-time libraries go into each program, so that the
# programs run from any folder without its DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs are run under wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
