# The framework stand-in's library, before each platform gives it the form of the framework.
#
# tessary_add_standin_library(<target> NODE <node> | WITHOUT_ENTRY_POINT)
#
# A shared library whose entry point starts the Node.js runtime at <node>, or one that lacks the
# entry point, which the loader must refuse before the launcher runs.
function(tessary_add_standin_library target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WITHOUT_ENTRY_POINT" "NODE" "")
  if(arg_WITHOUT_ENTRY_POINT)
    add_library(${target} SHARED "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/without_entry_point.cpp")
  else()
    add_library(${target} SHARED "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/electron_framework_standin.cpp")
    target_include_directories(${target} PRIVATE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..")
    target_compile_definitions(${target} PRIVATE "TESSARY_NODE_EXECUTABLE=\"${arg_NODE}\"")
  endif()
endfunction()
