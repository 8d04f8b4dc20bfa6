# Cross build for 32-bit hosts (i686), run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KAVREL_MINGW_TRIPLE i686-w64-mingw32)
set(KAVREL_WINE_ARCH win32)
# Doubles in SSE2 registers, as on x86_64: the default x87 code keeps 80-bit
# intermediates and compares them before they are rounded to double, so a
# sum, a rounding or a comparison could come out differently in the two
# builds. Every processor the supported Windows versions run on has SSE2.
set(KAVREL_ARCH_FLAGS -msse2 -mfpmath=sse)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
