# GoogleTest for the Windows cross-build: the build machine's sources (/usr/src/googletest, from the
# googletest package) built with the mingw-w64 toolchain as part of this build, for the unit tests that
# run under Wine.
set(TESSARY_GOOGLETEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
  "GoogleTest's sources, built with the Windows cross-build's toolchain")

if(NOT TARGET GTest::gtest)
  if(NOT EXISTS "${TESSARY_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt")
    message(FATAL_ERROR "${TESSARY_GOOGLETEST_SOURCE_DIR} holds no GoogleTest sources (apt install googletest)")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory("${TESSARY_GOOGLETEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  # GoogleTest's own code is no concern of the project's warnings.
  foreach(_tessary_target IN ITEMS gtest gtest_main gmock gmock_main)
    set_property(TARGET ${_tessary_target} PROPERTY COMPILE_OPTIONS -w)
  endforeach()
endif()
set(GTest_FOUND TRUE)
