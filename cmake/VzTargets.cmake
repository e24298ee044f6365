# Helpers that give every target of ours the same include root, warnings and sanitizers.

if(VZ_FUZZ)
  # `cmake --build <dir> --target fuzzers` builds the fuzz targets and only what they link.
  add_custom_target(fuzzers)
  # Coverage for everything the fuzz targets link; only the targets themselves link the fuzzer driver.
  # Undefined behaviour must stop the fuzzer like a crash does, not print and carry on.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(VZ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(vz_target_defaults target)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VZ_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# vz_library(name SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# Libraries below ui/ and security/ hold the dialogs: they are listed in the global property
# VZ_DIALOG_LIBRARIES, whose every object the text-fit check links (app/CMakeLists.txt).
function(vz_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  vz_target_defaults(${name})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(folder MATCHES "^(ui|security)(/|$)")
    set_property(GLOBAL APPEND PROPERTY VZ_DIALOG_LIBRARIES ${name})
  endif()
endfunction()

# vz_test(name SOURCES ... [DEPS ...]): a GoogleTest executable in build/tests, registered with CTest.
function(vz_test name)
  if(NOT VZ_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vz_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "VZ_BIN_DIR=${VZ_BIN_DIR};VZ_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# Benchmarks (sources in bench/) and fuzz targets (sources in fuzz/) are declared by the module
# they measure or feed, in that module's CMakeLists.txt.

# vz_fuzzer(name SOURCES ... [DEPS ...]): a libFuzzer target in build/fuzz.
function(vz_fuzzer name)
  if(NOT VZ_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vz_target_defaults(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  add_dependencies(fuzzers ${name})
endfunction()

# vz_benchmark(name SOURCES ... [DEPS ...]): a Google Benchmark executable in build/bench.
function(vz_benchmark name)
  if(NOT VZ_BENCH OR VZ_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  vz_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
