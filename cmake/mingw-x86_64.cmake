# Cross build for 64-bit hosts (x86_64), run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAVREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(KAVREL_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
