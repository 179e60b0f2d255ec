# Cross-builds Tessary Update for Windows 10 (1607 or later) on x86-64 here, with mingw-w64's GCC in its
# POSIX thread model (the win32 one has no std::thread or std::mutex). The programs link libgcc and
# libstdc++ statically, so that they need nothing beside the system's DLLs.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 10.0)

set(_tessary_mingw x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER ${_tessary_mingw}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER ${_tessary_mingw}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER ${_tessary_mingw}-windres REQUIRED)

# Libraries and headers come from the mingw-w64 sysroot alone, programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${_tessary_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# -O2, as the Linux build optimises: GCC 12's -O3 warns falsely about std::string copies (-Wrestrict).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "")

# nlohmann/json, header-only, is taken from the build machine (see its config); GoogleTest is built
# from the build machine's sources with this toolchain (see its config).
set(nlohmann_json_DIR "${CMAKE_CURRENT_LIST_DIR}/nlohmann_json" CACHE PATH "")
set(GTest_DIR "${CMAKE_CURRENT_LIST_DIR}/GTest" CACHE PATH "")

# ctest runs the cross-built tests under Wine, in the environment scripts/wine-env sets up.
find_program(TESSARY_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TESSARY_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${TESSARY_WINE64}")
endif()
