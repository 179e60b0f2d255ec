# What every macOS program of Tessary is built with: x86-64, macOS 13.0 or later, and a signature
# that grants exactly the entitlements the program's own file lists.
include_guard(GLOBAL)

# Both settings apply to every target, the portable core included, so they must be given when the
# build is configured (the macos and macos-cross presets do).
if(NOT CMAKE_OSX_DEPLOYMENT_TARGET VERSION_EQUAL "13.0")
  message(FATAL_ERROR "Tessary's macOS programs run on macOS 13.0 or later: configure with "
    "-DCMAKE_OSX_DEPLOYMENT_TARGET=13.0 (found \"${CMAKE_OSX_DEPLOYMENT_TARGET}\")")
endif()
if(NOT CMAKE_OSX_ARCHITECTURES STREQUAL "x86_64")
  message(FATAL_ERROR "Tessary's macOS programs are built for x86-64 only: configure with "
    "-DCMAKE_OSX_ARCHITECTURES=x86_64 (found \"${CMAKE_OSX_ARCHITECTURES}\")")
endif()

set(TESSARY_CODESIGN_IDENTITY "-" CACHE STRING
  "Identity that codesign signs the macOS programs with (\"-\" signs ad hoc)")

# tessary_macos_sign(<target> ENTITLEMENTS <plist> [BUNDLE])
#
# On a Mac, codesign signs the program after each link for the hardened runtime with the given
# entitlements; with BUNDLE it signs the target's bundle, which seals its Info.plist too. A cross
# build has no codesign: there the toolchain's linker embeds the entitlements in the ad-hoc signature
# it writes (the toolchain says so with TESSARY_LINKER_ENTITLEMENTS_OPTION).
function(tessary_macos_sign target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "BUNDLE" "ENTITLEMENTS" "")
  if(NOT arg_ENTITLEMENTS)
    message(FATAL_ERROR "tessary_macos_sign(${target}): ENTITLEMENTS is required")
  endif()
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${arg_ENTITLEMENTS}")

  if(TESSARY_LINKER_ENTITLEMENTS_OPTION)
    target_link_options(${target} PRIVATE "SHELL:${TESSARY_LINKER_ENTITLEMENTS_OPTION} \"${arg_ENTITLEMENTS}\"")
    return()
  endif()

  find_program(TESSARY_CODESIGN codesign REQUIRED DOC "Apple's codesign")
  if(arg_BUNDLE)
    set(signed "$<TARGET_BUNDLE_DIR:${target}>")
  else()
    set(signed "$<TARGET_FILE:${target}>")
  endif()
  # A release identity also gets a secure time stamp, which notarization asks for; ad hoc has none.
  if(TESSARY_CODESIGN_IDENTITY STREQUAL "-")
    set(timestamp "--timestamp=none")
  else()
    set(timestamp "--timestamp")
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${TESSARY_CODESIGN}" --force --sign "${TESSARY_CODESIGN_IDENTITY}" ${timestamp}
            --options runtime --entitlements "${arg_ENTITLEMENTS}" "${signed}"
    COMMENT "Signing ${target} for the hardened runtime"
    VERBATIM)
endfunction()
