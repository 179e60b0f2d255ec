# Cross-builds Tessary's macOS programs on Linux: Zig's clang and Mach-O linker (see zig-driver) for
# x86-64 macOS 13.0, against the project's stub SDK in macos-sdk/ instead of Apple's.

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_SYSTEM_VERSION 22.0)  # Darwin 22 is macOS 13

get_filename_component(_tessary_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(TESSARY_MACOS_SDK "${_tessary_root}/macos-sdk" CACHE PATH "The stub SDK the macOS cross-build compiles and links against")
# try_compile projects see the cache only through this list.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TESSARY_MACOS_SDK)

set(CMAKE_C_COMPILER "${CMAKE_CURRENT_LIST_DIR}/zig-cc")
set(CMAKE_CXX_COMPILER "${CMAKE_CURRENT_LIST_DIR}/zig-c++")
set(CMAKE_OBJCXX_COMPILER "${CMAKE_CURRENT_LIST_DIR}/zig-c++")
# Zig has no ar or ranlib of its own name on PATH; LLVM's understand Mach-O archives.
find_program(CMAKE_AR NAMES llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib REQUIRED)
# CMake asks for it on Apple platforms; the build itself never rewrites an install name.
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool llvm-install-name-tool-14 REQUIRED
  PATHS /usr/lib/llvm-14/bin)

set(CMAKE_OSX_SYSROOT "${TESSARY_MACOS_SDK}" CACHE PATH "")
set(CMAKE_OSX_DEPLOYMENT_TARGET "13.0" CACHE STRING "")
set(CMAKE_OSX_ARCHITECTURES "x86_64" CACHE STRING "")
# The SDK's frameworks: clang does not look into a sysroot it only knows from -isysroot.
foreach(_tessary_language IN ITEMS C CXX OBJCXX)
  set(CMAKE_${_tessary_language}_FLAGS_INIT "-F${TESSARY_MACOS_SDK}/System/Library/Frameworks")
endforeach()

# Libraries, headers and packages come from the SDK alone, programs from the build machine.
set(CMAKE_FIND_ROOT_PATH "${TESSARY_MACOS_SDK}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# nlohmann/json, header-only, is the one library taken from the build machine (see its config).
set(nlohmann_json_DIR "${CMAKE_CURRENT_LIST_DIR}/nlohmann_json" CACHE PATH "")
# The tests that run on a Mac (the AppKit toolkit's, the launcher's) are compiled here, not linked or
# run: GoogleTest's headers come from the build machine the same way (see its config).
set(TESSARY_MACOS_TESTS_COMPILE_ONLY ON)
set(GTest_DIR "${CMAKE_CURRENT_LIST_DIR}/GTest" CACHE PATH "")

set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/rules.cmake")

# There is no codesign here: the linker signs, with the entitlements (see cmake/macos-program.cmake).
set(TESSARY_LINKER_ENTITLEMENTS_OPTION "--entitlements")
