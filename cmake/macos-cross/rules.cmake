# Run paths for the macOS cross-build. On a Linux host CMake's Darwin module finds no Xcode, leaves the
# run-path flag unset and would silently drop every BUILD_RPATH and INSTALL_RPATH.
foreach(_tessary_language IN ITEMS C CXX OBJCXX)
  set(CMAKE_SHARED_LIBRARY_RUNTIME_${_tessary_language}_FLAG "-Wl,-rpath,")
  set(CMAKE_EXECUTABLE_RUNTIME_${_tessary_language}_FLAG "-Wl,-rpath,")
endforeach()
