# GoogleTest's headers for the macOS cross-build, which only compiles the tests that run on a Mac: the
# build machine's gtest/ and gmock/ headers, exposed through a folder of the build that holds nothing
# but links to them, so that no other header of the build machine can reach a macOS compile. There is
# no macOS GoogleTest library here, so nothing may link these targets into a program.
set(TESSARY_HOST_GTEST_INCLUDE_DIR "/usr/include" CACHE PATH
  "Folder holding the gtest/ and gmock/ headers that the macOS cross-build compiles the Mac's tests with")

if(NOT TARGET GTest::gtest)
  set(_tessary_gtest_include "${CMAKE_BINARY_DIR}/macos-cross-gtest-include")
  file(MAKE_DIRECTORY "${_tessary_gtest_include}")
  foreach(_tessary_folder IN ITEMS gtest gmock)
    if(NOT EXISTS "${TESSARY_HOST_GTEST_INCLUDE_DIR}/${_tessary_folder}/${_tessary_folder}.h")
      message(FATAL_ERROR "${TESSARY_HOST_GTEST_INCLUDE_DIR}/${_tessary_folder}/ holds no ${_tessary_folder}.h")
    endif()
    file(CREATE_LINK "${TESSARY_HOST_GTEST_INCLUDE_DIR}/${_tessary_folder}"
      "${_tessary_gtest_include}/${_tessary_folder}" SYMBOLIC)
  endforeach()
  foreach(_tessary_target IN ITEMS gtest gmock gtest_main gmock_main)
    add_library(GTest::${_tessary_target} INTERFACE IMPORTED)
    set_target_properties(GTest::${_tessary_target} PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${_tessary_gtest_include}")
  endforeach()
endif()
set(GTest_FOUND TRUE)
