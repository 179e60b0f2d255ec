# The macOS build: "Tessary Service.app", whose executable the loader binds at start to the
# Electron Framework that lies in the same folder as the bundle.

include("${PROJECT_SOURCE_DIR}/cmake/macos-program.cmake")

find_library(TESSARY_ELECTRON_FRAMEWORK NAMES "Electron Framework" REQUIRED
  DOC "Electron Framework.framework that Tessary Service is linked against")
if(NOT TESSARY_ELECTRON_FRAMEWORK MATCHES "/Electron Framework\\.framework$")
  message(FATAL_ERROR "TESSARY_ELECTRON_FRAMEWORK must name \"Electron Framework.framework\" "
    "(found \"${TESSARY_ELECTRON_FRAMEWORK}\")")
endif()
cmake_path(GET TESSARY_ELECTRON_FRAMEWORK PARENT_PATH electron_framework_folder)

add_executable(tessary-service MACOSX_BUNDLE main.cpp)
target_include_directories(tessary-service PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
# Every call to a library goes through a pointer the loader binds when it loads the program, never
# through a lazily bound stub: a framework that lacks the entry point must be refused before the
# launcher's first step, whereas a lazy binding would let the launcher prepare its process and end
# only at the call. Apple's linker and Zig's both bind such pointers at load time.
target_compile_options(tessary-service PRIVATE -fno-plt)
# Linked by name at load time, never weakly, and pinning no version of the framework.
# The C++ driver adds libc++, which the launcher does not use: the only other library it loads is
# libSystem.
target_link_options(tessary-service PRIVATE "-F${electron_framework_folder}"
  "SHELL:-framework \"Electron Framework\"" "-Wl,-dead_strip_dylibs")
set_property(TARGET tessary-service APPEND PROPERTY LINK_DEPENDS "${TESSARY_ELECTRON_FRAMEWORK}")
set_target_properties(tessary-service PROPERTIES
  OUTPUT_NAME "Tessary Service"
  MACOSX_BUNDLE_INFO_PLIST "${TESSARY_SERVICE_BUNDLE_DIR}/Info.plist"
  # The one run path leads from Contents/MacOS to the folder that holds the bundle, and so the
  # framework; nothing of the build machine is recorded.
  BUILD_WITH_INSTALL_RPATH ON
  INSTALL_RPATH "@executable_path/../../..")
tessary_macos_sign(tessary-service BUNDLE ENTITLEMENTS "${TESSARY_SERVICE_BUNDLE_DIR}/entitlements.plist")
