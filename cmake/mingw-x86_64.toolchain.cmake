# Cross-builds 64-bit Windows programs with Debian's MinGW-w64 (x86_64-w64-mingw32). The
# product is the 32-bit build; this one runs the tests that show the Open dialog, under
# Wine's 64-bit half, which runs natively where the 32-bit half needs qemu-user.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
