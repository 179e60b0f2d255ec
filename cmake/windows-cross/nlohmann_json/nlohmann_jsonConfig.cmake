# nlohmann/json for the Windows cross-build: the same header-only library the Linux build uses, exposed
# through a folder of the build that holds nothing but a link to its nlohmann/ headers, so that no
# other header of the build machine can reach a Windows compile.
include("${CMAKE_CURRENT_LIST_DIR}/../../macos-cross/nlohmann_json/nlohmann_json-version.cmake")
set(nlohmann_json_VERSION "${_tessary_json_version}")

if(NOT TARGET nlohmann_json::nlohmann_json)
  set(_tessary_json_include "${CMAKE_BINARY_DIR}/windows-cross-include")
  file(MAKE_DIRECTORY "${_tessary_json_include}")
  file(CREATE_LINK "${TESSARY_HOST_NLOHMANN_JSON_INCLUDE_DIR}/nlohmann" "${_tessary_json_include}/nlohmann"
    SYMBOLIC)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${_tessary_json_include}")
endif()
set(nlohmann_json_FOUND TRUE)
