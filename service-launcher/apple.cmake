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

if(NOT BUILD_TESTING OR CMAKE_CROSSCOMPILING)
  return()
endif()

# For the tests on a Mac: a stand-in for the framework, built as a real framework (a versioned bundle
# whose library runs the machine's Node.js, as on Linux), and the launcher beside it in the shipping
# layout.
find_program(TESSARY_NODE_EXECUTABLE NAMES node REQUIRED DOC "Node.js runtime that the framework stand-in starts")

include("${CMAKE_CURRENT_LIST_DIR}/framework-standin/standin_library.cmake")

# tessary_add_framework_standin(<target> <folder> NODE <node> | WITHOUT_ENTRY_POINT)
#
# Builds <folder>/Electron Framework.framework: one whose entry point starts the runtime at <node>, or
# one that lacks the entry point. Signed ad hoc, as the linker signs nothing on x86-64.
function(tessary_add_framework_standin target folder)
  tessary_add_standin_library(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES
    FRAMEWORK TRUE
    FRAMEWORK_VERSION A
    MACOSX_FRAMEWORK_IDENTIFIER "com.tessary.test.electron-framework"
    OUTPUT_NAME "Electron Framework"
    LIBRARY_OUTPUT_DIRECTORY "${folder}"
    INSTALL_NAME_DIR "@rpath"
    BUILD_WITH_INSTALL_NAME_DIR ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # Only the C library is used.
  target_link_options(${target} PRIVATE "-Wl,-dead_strip_dylibs")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${TESSARY_CODESIGN}" --force --sign - "$<TARGET_BUNDLE_DIR:${target}>"
    VERBATIM)
endfunction()

set(test_layout "${CMAKE_CURRENT_BINARY_DIR}/test-layout")
tessary_add_framework_standin(electron-framework "${test_layout}" NODE "${TESSARY_NODE_EXECUTABLE}")

# A copy of the bundle as built, beside the stand-in. It is signed again ad hoc without the hardened
# runtime: with it, library validation loads only a framework signed by Apple or by the program's own
# team, and neither the stand-in nor an ad-hoc signature has a team. The code is the same; the
# signature of the bundle as built is checked with codesign and macos-check-binaries.
set(test_bundle "${test_layout}/Tessary Service.app")
add_custom_command(OUTPUT "${test_bundle}/Contents/MacOS/Tessary Service"
  COMMAND "${CMAKE_COMMAND}" -E rm -rf "${test_bundle}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${test_layout}"
  COMMAND cp -R "$<TARGET_BUNDLE_DIR:tessary-service>" "${test_layout}/"
  COMMAND "${TESSARY_CODESIGN}" --force --sign - --entitlements "${TESSARY_SERVICE_BUNDLE_DIR}/entitlements.plist"
          "${test_bundle}"
  DEPENDS tessary-service "$<TARGET_FILE:tessary-service>"
  COMMENT "Laying out Tessary Service beside the framework stand-in for the tests"
  VERBATIM)
add_custom_target(tessary-service-test-layout ALL DEPENDS "${test_bundle}/Contents/MacOS/Tessary Service")

set(TESSARY_SERVICE_TEST_LAUNCHER "${test_bundle}/Contents/MacOS/Tessary Service")
set(TESSARY_SERVICE_TEST_LAYOUT_TARGET tessary-service-test-layout)
