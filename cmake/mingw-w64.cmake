# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# Only the Qt-free targets build here: configure with -DTALV_WITH_QT=OFF.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TALV_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TALV_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TALV_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TALV_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALV_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime is linked in, so the programs run without the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Lets ctest run the test programs under Wine where it is installed.
find_program(TALV_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TALV_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TALV_WINE})
endif()

# Header-only libraries come from the build machine's packages.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-host-headers CACHE PATH "")
set(CLI11_DIR ${CMAKE_CURRENT_LIST_DIR}/mingw-w64-host-headers CACHE PATH "")
