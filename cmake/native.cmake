# Native build: the portable core against the in-memory desktop, unit tests under ASan and UBSan,
# fuzzers (clang) and benchmarks (unsanitised).

set(MOZHOU_SAN_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

file(GLOB MOZHOU_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/fake/*.cpp)

# One library variant per instrumentation: tests want sanitisers, benchmarks must not have them.
function(mozhou_core_variant name)
  cmake_parse_arguments(V "" "" "FLAGS" ${ARGN})
  add_library(${name} STATIC ${MOZHOU_CORE_SOURCES} ${MOZHOU_ART_DIR}/embedded_art.cpp
                             ${MOZHOU_FAKE_SOURCES})
  add_dependencies(${name} mozhou_art)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(${name} PUBLIC ${V_FLAGS})
  target_link_options(${name} PUBLIC ${V_FLAGS})
  find_package(Iconv)
  if(Iconv_FOUND AND NOT Iconv_IS_BUILT_IN)
    target_link_libraries(${name} PUBLIC Iconv::Iconv)
  endif()
endfunction()

if(MOZHOU_FUZZ)
  # clang only: every fuzz/*.cpp becomes one libFuzzer target.
  set(MOZHOU_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -g)
  mozhou_core_variant(mozhou_core_fuzz FLAGS ${MOZHOU_FUZZ_FLAGS})
  file(GLOB MOZHOU_FUZZERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(src ${MOZHOU_FUZZERS})
    get_filename_component(n ${src} NAME_WE)
    add_executable(fuzz_${n} ${src})
    target_link_libraries(fuzz_${n} PRIVATE mozhou_core_fuzz)
    target_link_options(fuzz_${n} PRIVATE -fsanitize=fuzzer)
  endforeach()
  return()
endif()

if(MOZHOU_SANITIZE)
  mozhou_core_variant(mozhou_core_test FLAGS ${MOZHOU_SAN_FLAGS})
else()
  mozhou_core_variant(mozhou_core_test)
endif()

find_package(GTest REQUIRED)
enable_testing()
file(GLOB MOZHOU_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(mozhou_unit_tests ${MOZHOU_UNIT_TESTS})
target_link_libraries(mozhou_unit_tests PRIVATE mozhou_core_test GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(mozhou_unit_tests DISCOVERY_TIMEOUT 60)

if(MOZHOU_BENCH)
  find_package(benchmark REQUIRED)
  mozhou_core_variant(mozhou_core_bench FLAGS -O2)
  file(GLOB MOZHOU_BENCHES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(MOZHOU_BENCHES)
    add_executable(mozhou_bench ${MOZHOU_BENCHES})
    target_link_libraries(mozhou_bench PRIVATE mozhou_core_bench benchmark::benchmark
                                               benchmark::benchmark_main)
  endif()
endif()
