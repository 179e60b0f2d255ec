# The Linux build: the framework stand-in and the launcher bound to it at load time.

find_program(TESSARY_NODE_EXECUTABLE NAMES node nodejs REQUIRED
  DOC "Node.js runtime that the Linux framework stand-in starts")

# The folder that holds the bundle and the framework side by side, as they ship.
set(TESSARY_SERVICE_LAYOUT_DIR "${CMAKE_CURRENT_BINARY_DIR}")
set(TESSARY_SERVICE_BUNDLE_OUTPUT "${TESSARY_SERVICE_LAYOUT_DIR}/Tessary Service.app")

include("${CMAKE_CURRENT_LIST_DIR}/framework-standin/standin_library.cmake")

# tessary_add_framework_standin(<target> <folder> NODE <node> | WITHOUT_ENTRY_POINT)
#
# Builds a framework stand-in named "Electron Framework" in <folder>/Electron Framework.framework: one
# whose entry point starts the runtime at <node>, or one that lacks the entry point. The tests build
# one whose runtime is missing and one without the entry point.
function(tessary_add_framework_standin target folder)
  tessary_add_standin_library(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "Electron Framework"
    PREFIX ""
    SUFFIX ""
    LIBRARY_OUTPUT_DIRECTORY "${folder}/Electron Framework.framework"
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # Only the C library is used; keeps the C++ runtime from being loaded into every start.
  target_link_options(${target} PRIVATE "LINKER:--as-needed")
endfunction()

tessary_add_framework_standin(electron-framework "${TESSARY_SERVICE_LAYOUT_DIR}" NODE "${TESSARY_NODE_EXECUTABLE}")

add_executable(tessary-service main.cpp)
target_include_directories(tessary-service PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
target_link_libraries(tessary-service PRIVATE electron-framework)
set_target_properties(tessary-service PROPERTIES
  OUTPUT_NAME "Tessary Service"
  RUNTIME_OUTPUT_DIRECTORY "${TESSARY_SERVICE_BUNDLE_OUTPUT}/Contents/MacOS"
  # The one run path is the framework's place relative to the executable, as on macOS; no absolute
  # build-tree path, so the layout can be moved or copied as a whole.
  BUILD_WITH_INSTALL_RPATH ON
  INSTALL_RPATH "$ORIGIN/../../../Electron Framework.framework")
# The framework is recorded by its name "Electron Framework" and searched for in the framework folder
# three directories above the executable. DT_RPATH (not DT_RUNPATH) is searched before
# LD_LIBRARY_PATH, so the environment cannot put another framework in place of the one beside the
# bundle. --as-needed keeps the C++ runtime, which the launcher does not use, out of its start.
#
# -z now binds every symbol, the framework's entry point included, when the program is loaded: a
# framework that lacks the entry point stops the program before any of its code runs, as the macOS
# loader does, instead of at the call after the launcher has already prepared its process.
target_link_options(tessary-service PRIVATE "LINKER:--disable-new-dtags" "LINKER:--as-needed" "LINKER:-z,now")

# The bundle's property list, placed as on macOS (the Linux loader does not read it).
configure_file("${TESSARY_SERVICE_BUNDLE_DIR}/Info.plist" "${TESSARY_SERVICE_BUNDLE_OUTPUT}/Contents/Info.plist"
  COPYONLY)

# What the tests run: the launcher as built, beside the framework stand-in.
set(TESSARY_SERVICE_TEST_LAUNCHER "$<TARGET_FILE:tessary-service>")
set(TESSARY_SERVICE_TEST_LAYOUT_TARGET tessary-service)
