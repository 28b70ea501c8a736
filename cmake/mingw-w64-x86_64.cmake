# A cross build for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64, with libz-mingw-w64-dev for zlib):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Without a Qt 6 for Windows (none is found unless its folder is added to
# CMAKE_FIND_ROOT_PATH) the project builds what needs no Qt: rom/,
# shop-table.exe and make-demo-image.exe, with the runtime linked in.
# The programs built run under Wine, in a prefix in the build folder, for
# the tests (tools/wine-run).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_target x86_64-w64-mingw32)

# The POSIX thread model gives std::thread and std::mutex with GCC 12.
find_program(CMAKE_CXX_COMPILER NAMES ${mingw_target}-g++-posix ${mingw_target}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${mingw_target}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run;${CMAKE_BINARY_DIR}/wine-prefix")
