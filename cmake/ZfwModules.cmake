# One folder, one target. Sources are collected from the folder so that adding a unit needs
# no edit of a CMakeLists.txt; re-run of the glob happens at build time (CONFIGURE_DEPENDS).
# A sub-folder with a CMakeLists.txt of its own is a target of its own and is left out of the
# enclosing folder's glob.

# _zfw_collect(<var> <patterns>...) : files of the current folder and its sub-folders that
# match the patterns, without those of sub-folders that are targets of their own.
function(_zfw_collect var)
  set(_patterns "")
  foreach(p IN LISTS ARGN)
    list(APPEND _patterns "${CMAKE_CURRENT_SOURCE_DIR}/${p}")
  endforeach()
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS ${_patterns})
  file(GLOB_RECURSE _own CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt")
  foreach(f IN LISTS _own)
    get_filename_component(_dir "${f}" DIRECTORY)
    list(FILTER _src EXCLUDE REGEX "^${_dir}/")
  endforeach()
  set(${var} "${_src}" PARENT_SCOPE)
endfunction()

# zfw_add_module(<name> [DEPS <targets>...]) : static library zfw_<name> from src/<name>/
# (sub-folders included; files named main.cpp are left to executables).
function(zfw_add_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  _zfw_collect(_src "*.cpp" "*.h" "*.qrc")
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  string(REPLACE "/" "_" _target "zfw_${name}")
  if(NOT _src)
    # A module whose first unit is not written yet: an empty interface target, so that
    # dependants link against it already.
    add_library(${_target} INTERFACE)
    target_include_directories(${_target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${_target} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${_target} STATIC ${_src})
  target_include_directories(${_target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(${_target} PUBLIC ${ARG_DEPS})
  target_compile_definitions(${_target} PUBLIC
    ZFW_MAKER_WEB_HOST="${ZFW_MAKER_WEB_HOST}")
endfunction()

# zfw_add_tests(<name> [DEPS <targets>...]) : GoogleTest executable test_<name> from
# tests/<name>/, linked with the shared test support, registered with CTest and run headless.
function(zfw_add_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  _zfw_collect(_src "*.cpp" "*.h")
  if(NOT _src)
    return()
  endif()
  string(REPLACE "/" "_" _target "test_${name}")
  add_executable(${_target} ${_src})
  target_link_libraries(${_target} PRIVATE zfw_test_support ${ARG_DEPS})
  target_compile_definitions(${_target} PRIVATE
    ZFW_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  gtest_discover_tests(${_target}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()

# zfw_add_bench(<name> [OWN_MAIN] [DEPS <targets>...]) : Google Benchmark executable
# bench_<name>. OWN_MAIN: the folder brings its own main (for instance to create a
# QApplication first) instead of the library's.
function(zfw_add_bench name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE _src CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(NOT _src)
    return()
  endif()
  string(REPLACE "/" "_" _target "bench_${name}")
  add_executable(${_target} ${_src})
  if(ARG_OWN_MAIN)
    target_link_libraries(${_target} PRIVATE benchmark::benchmark ${ARG_DEPS})
  else()
    target_link_libraries(${_target} PRIVATE benchmark::benchmark benchmark::benchmark_main ${ARG_DEPS})
  endif()
endfunction()
