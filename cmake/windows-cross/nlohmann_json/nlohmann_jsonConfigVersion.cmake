# find_package(nlohmann_json <version>) in the Windows cross-build: the version check of the macOS
# cross-build, which reads the version from the build machine's headers.
include("${CMAKE_CURRENT_LIST_DIR}/../../macos-cross/nlohmann_json/nlohmann_jsonConfigVersion.cmake")
