# Shared build settings for the project's own targets.

# Warnings are errors on our own code only.
function(kovantis_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # gcc's flow analysis gives false maybe-uninitialized warnings in instrumented standard
  # headers (<regex>, <optional>); they stay warnings there.
  if(KOVANTIS_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-error=maybe-uninitialized)
  endif()
endfunction()

if(KOVANTIS_SANITIZE)
  add_compile_options(-fsanitize=${KOVANTIS_SANITIZE} -fno-omit-frame-pointer)
  add_link_options(-fsanitize=${KOVANTIS_SANITIZE})
  if(KOVANTIS_SANITIZE MATCHES "undefined")
    # Undefined behaviour fails the test that ran into it.
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
endif()

# kovantis_library(NAME SOURCES ... [DEPS ...])
# A static library of the core; `src/` is its include root, so headers are included as
# "area/file.h".
function(kovantis_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  kovantis_warnings(${name})
endfunction()

# kovantis_test(NAME LABEL unit|integration|ui SOURCES ... [DEPS ...] [TIMEOUT s])
# One GoogleTest executable registered as one CTest test.
function(kovantis_test name)
  cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  kovantis_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "KOVANTIS_BIN_DIR=${KOVANTIS_BIN_DIR};KOVANTIS_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(KOVANTIS_SANITIZE MATCHES "address")
    # The address sanitizer of clang 14 and gcc 12 takes some dynamic TLS blocks (those of
    # libdevlinx.so's threads, loaded with dlopen) for the header layout of an old glibc and
    # hands LeakSanitizer a bogus range, which crashes its scan at exit. Without the
    # interception those blocks are still found: glibc allocates them with malloc and keeps them
    # in each thread's vector, which the scan reaches. The programs a test starts inherit it.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT_MODIFICATION
      "ASAN_OPTIONS=string_prepend:intercept_tls_get_addr=0:")
  endif()
endfunction()

# kovantis_bench(NAME SOURCES ... [DEPS ...]): a benchmark executable under tests/bench that
# prints ratios against a baseline measured in the same run. Built with the tests, never run by
# the test suite.
function(kovantis_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  kovantis_warnings(${name})
endfunction()

# kovantis_fuzzer(NAME SOURCES ... [DEPS ...]): a libFuzzer target, built with -DKOVANTIS_FUZZ=ON.
function(kovantis_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT KOVANTIS_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(fuzzers ${name})
endfunction()

if(KOVANTIS_FUZZ)
  # Every fuzz target: cmake --build build-fuzz --target fuzzers
  add_custom_target(fuzzers)
  # The libraries a fuzzer links are instrumented too.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
