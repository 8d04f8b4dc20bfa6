# What both MinGW-w64 cross builds share: posix thread model, static runtime
# (the products import system DLLs only), tests run under Wine, stripped
# release binaries. The toolchain file of each architecture sets
# KAVREL_MINGW_TRIPLE and KAVREL_WINE_ARCH and includes this file.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KAVREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KAVREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KAVREL_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${KAVREL_MINGW_TRIPLE}-objdump CACHE FILEPATH "objdump of the target architecture")

set(CMAKE_FIND_ROOT_PATH /usr/${KAVREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Every test and tool built here runs under the Wine of its architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-exec.sh;${KAVREL_WINE_ARCH}")

# The shipped binaries carry no symbols.
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
