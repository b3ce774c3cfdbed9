# Cross-builds 32-bit Windows programs with Debian's MinGW-w64 (i686-w64-mingw32).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# A 32-bit program may use 4 GB on 64-bit Windows instead of 2 GB: the conflict editor's
# control holds many times a large file's size.
string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
