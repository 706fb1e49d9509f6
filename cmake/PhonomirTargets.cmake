# Helpers that every folder uses to declare its library, its tests and its fuzz targets.

# phonomir_core_library(NAME SOURCES... [LINK libs...])
# A platform-free core: it may not link Qt nor include a Qt header. Both are checked here at
# configure time so that a core that reaches for Qt fails the build instead of growing a
# hidden dependency.
function(phonomir_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  foreach(source IN LISTS ARG_SOURCES)
    file(STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/${source} qt_includes
         REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]+|Qt[A-Za-z]*/)")
    if(qt_includes)
      message(FATAL_ERROR "Core library ${name} includes a Qt header in ${source}: ${qt_includes}")
    endif()
  endforeach()
  foreach(lib IN LISTS ARG_LINK)
    if(lib MATCHES "^Qt[0-9]*::")
      message(FATAL_ERROR "Core library ${name} may not link ${lib}")
    endif()
  endforeach()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  set_property(GLOBAL APPEND PROPERTY PHONOMIR_CORE_TARGETS ${name})
endfunction()

# phonomir_test(NAME [NEEDS_POSTGRES] SOURCES... LINK libs...)
# One GoogleTest executable per library, registered with CTest case by case. NEEDS_POSTGRES
# runs its cases inside the fixture that starts a throwaway PostgreSQL cluster; they find it
# through PHONOMIR_TEST_PG_DIR (see scripts/postgres-test-server.sh).
function(phonomir_test name)
  if(NOT PHONOMIR_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "NEEDS_POSTGRES" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  if(ARG_NEEDS_POSTGRES)
    phonomir_postgres_fixture()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED postgres
      ENVIRONMENT "PHONOMIR_TEST_PG_DIR=${PHONOMIR_TEST_PG_DIR}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# The CTest fixture "postgres": a cluster started before the first test that needs it and
# stopped after the last. It lives under /tmp, named after the build tree, because as root the
# server runs as the user postgres, who may not enter the build tree's folders.
string(MD5 build_tree_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${build_tree_hash}" 0 12 build_tree_hash)
set(PHONOMIR_TEST_PG_DIR /tmp/phonomir-pg-${build_tree_hash})
function(phonomir_postgres_fixture)
  get_property(defined GLOBAL PROPERTY PHONOMIR_POSTGRES_FIXTURE)
  if(defined)
    return()
  endif()
  set_property(GLOBAL PROPERTY PHONOMIR_POSTGRES_FIXTURE ON)
  set(script ${PROJECT_SOURCE_DIR}/scripts/postgres-test-server.sh)
  add_test(NAME postgres_server_start COMMAND bash ${script} start ${PHONOMIR_TEST_PG_DIR})
  add_test(NAME postgres_server_stop COMMAND bash ${script} stop ${PHONOMIR_TEST_PG_DIR})
  set_tests_properties(postgres_server_start PROPERTIES FIXTURES_SETUP postgres TIMEOUT 120)
  set_tests_properties(postgres_server_stop PROPERTIES FIXTURES_CLEANUP postgres)
endfunction()

# phonomir_fuzzer(NAME SOURCE LINK libs...)
# A libFuzzer target; built only with PHONOMIR_FUZZ under clang.
function(phonomir_fuzzer name)
  if(NOT PHONOMIR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LINK})
  if(NOT TARGET phonomir_fuzzers)
    add_custom_target(phonomir_fuzzers)
  endif()
  add_dependencies(phonomir_fuzzers ${name})
endfunction()
