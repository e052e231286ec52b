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

# zfw_add_tests(<name> [CORE] [SLOW <gtest patterns>...] [DEPS <targets>...]) : GoogleTest
# executable test_<name> from tests/<name>/, linked with the shared test support and registered
# with CTest (see zfw_register_gtest). CORE: a widget-free module's tests, on a test main with a
# QCoreApplication and without the Widgets library, so that a widget header does not compile.
function(zfw_add_tests name)
  cmake_parse_arguments(ARG "CORE" "" "DEPS;SLOW" ${ARGN})
  _zfw_collect(_src "*.cpp" "*.h")
  if(NOT _src)
    return()
  endif()
  string(REPLACE "/" "_" _target "test_${name}")
  add_executable(${_target} ${_src})
  if(ARG_CORE)
    target_link_libraries(${_target} PRIVATE zfw_test_support_core ${ARG_DEPS})
    set(_kind unit)
  else()
    target_link_libraries(${_target} PRIVATE zfw_test_support ${ARG_DEPS})
    set(_kind gui)
  endif()
  target_compile_definitions(${_target} PRIVATE
    ZFW_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  zfw_register_gtest(${_target} KIND ${_kind} SOURCES ${_src} SLOW ${ARG_SLOW})
endfunction()

# zfw_register_gtest(<target> KIND unit|gui SOURCES <files>... [SLOW <gtest patterns>...]
#                    [SHARDS <n>])
# Registers a GoogleTest executable as a few CTest entries instead of one per case: starting a
# process (and its QApplication) costs more than most cases take. The entries, named
# <target>.<part>, are
#   <target>.golden  the cases whose name mentions "Golden" (comparisons with stored files),
#                    labels KIND and golden; only when a source file names such a case;
#   <target>.slow    the cases matching the SLOW patterns (Suite.* or Suite.Case), labels KIND
#                    and slow;
#   <target>.<i>     every other case, split by GoogleTest's sharding into SHARDS parts (by
#                    default one per 50 test definitions, at most 10), label KIND.
# A failed case is named in the entry's output (ctest --output-on-failure); the brief GoogleTest
# output leaves out the cases that passed. Every entry writes an XML report to
# <build>/gtest-results/, which scripts/test.sh sums up to the count of cases.
function(zfw_register_gtest target)
  cmake_parse_arguments(ARG "" "KIND;SHARDS" "SOURCES;SLOW" ${ARGN})
  if(NOT ARG_SHARDS)
    set(_defs 0)
    foreach(f IN LISTS ARG_SOURCES)
      if(f MATCHES "\\.cpp$")
        file(STRINGS "${f}" _lines REGEX "^(TEST|TEST_F|TEST_P|TYPED_TEST)\\(")
        list(LENGTH _lines _n)
        math(EXPR _defs "${_defs} + ${_n}")
      endif()
    endforeach()
    math(EXPR ARG_SHARDS "(${_defs} + 49) / 50")
    if(ARG_SHARDS LESS 1)
      set(ARG_SHARDS 1)
    elseif(ARG_SHARDS GREATER 10)
      set(ARG_SHARDS 10)
    endif()
  endif()

  set(_golden FALSE)
  foreach(f IN LISTS ARG_SOURCES)
    file(STRINGS "${f}" _lines
      REGEX "^(TEST|TEST_F|TEST_P|TYPED_TEST|INSTANTIATE_TEST_SUITE_P)\\(.*Golden")
    if(_lines)
      set(_golden TRUE)
    endif()
  endforeach()

  set(_results "${CMAKE_BINARY_DIR}/gtest-results")
  set(_env QT_QPA_PLATFORM=offscreen GTEST_BRIEF=1 GTEST_COLOR=no)
  set(_rest "")
  if(_golden)
    add_test(NAME ${target}.golden COMMAND ${target})
    set_tests_properties(${target}.golden PROPERTIES LABELS "${ARG_KIND};golden"
      ENVIRONMENT "${_env};GTEST_FILTER=*Golden*;GTEST_OUTPUT=xml:${_results}/${target}.golden.xml")
    list(APPEND _rest "*Golden*")
  endif()
  if(ARG_SLOW)
    list(JOIN ARG_SLOW ":" _slow)
    add_test(NAME ${target}.slow COMMAND ${target})
    set(_filter "${_slow}")
    if(_golden)
      string(APPEND _filter "-*Golden*")
    endif()
    set_tests_properties(${target}.slow PROPERTIES LABELS "${ARG_KIND};slow"
      ENVIRONMENT "${_env};GTEST_FILTER=${_filter};GTEST_OUTPUT=xml:${_results}/${target}.slow.xml")
    list(APPEND _rest ${ARG_SLOW})
  endif()
  set(_filter "*")
  if(_rest)
    list(JOIN _rest ":" _rest)
    set(_filter "*-${_rest}")
  endif()
  math(EXPR _last "${ARG_SHARDS} - 1")
  foreach(i RANGE ${_last})
    add_test(NAME ${target}.${i} COMMAND ${target})
    set_tests_properties(${target}.${i} PROPERTIES LABELS "${ARG_KIND}"
      ENVIRONMENT "${_env};GTEST_FILTER=${_filter};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${i};GTEST_OUTPUT=xml:${_results}/${target}.${i}.xml")
  endforeach()
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
