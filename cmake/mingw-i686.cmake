# Cross build for 32-bit hosts (i686), run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KAVREL_MINGW_TRIPLE i686-w64-mingw32)
set(KAVREL_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
