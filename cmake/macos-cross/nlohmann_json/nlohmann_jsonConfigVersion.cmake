# find_package(nlohmann_json <version>) in the macOS cross-build: compatible with any requested
# version of the same major version up to the host's.
include("${CMAKE_CURRENT_LIST_DIR}/nlohmann_json-version.cmake")
set(PACKAGE_VERSION "${_tessary_json_version}")
if(PACKAGE_VERSION STREQUAL "" OR PACKAGE_VERSION VERSION_LESS PACKAGE_FIND_VERSION)
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
elseif(NOT PACKAGE_FIND_VERSION_MAJOR STREQUAL "" AND
       NOT PACKAGE_VERSION MATCHES "^${PACKAGE_FIND_VERSION_MAJOR}\\.")
  set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
  set(PACKAGE_VERSION_COMPATIBLE TRUE)
  if(PACKAGE_VERSION VERSION_EQUAL PACKAGE_FIND_VERSION)
    set(PACKAGE_VERSION_EXACT TRUE)
  endif()
endif()
