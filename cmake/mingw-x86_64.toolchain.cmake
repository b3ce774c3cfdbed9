# Cross-builds 64-bit Windows programs with Debian's MinGW-w64 (x86_64-w64-mingw32). The
# product is the 32-bit build; this one runs the tests that show the Open dialog, under
# Wine's 64-bit half, which runs natively where the 32-bit half needs qemu-user.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
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
