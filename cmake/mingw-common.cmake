# What both MinGW-w64 toolchain files share; each sets mingw_triple and the processor first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model gives std::thread and std::mutex, as MSVC does;
# GCC 12's win32 model lacks them.
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

# Link libstdc++, libgcc and winpthread in, so a .exe needs only system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# add_test and custom commands start the built .exe files through Wine,
# with a Wine prefix of their own inside this build tree.
cmake_path(SET wine_run NORMALIZE ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_run} --prefix ${CMAKE_BINARY_DIR}/wineprefix)
