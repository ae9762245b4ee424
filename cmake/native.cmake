# Linux: the simulated adapters, unit tests, benchmarks and fuzz targets.
file(GLOB_RECURSE WAKUMO_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/sim/*.cpp)
add_library(wakumo_sim STATIC ${WAKUMO_SIM_SOURCES})
target_link_libraries(wakumo_sim PUBLIC wakumo_core)
# GCC 12 warns about members left out of a designated initialiser even when
# they have defaults (later GCCs do not); tests build simulated windows that way.
target_compile_options(wakumo_sim PUBLIC $<$<CXX_COMPILER_ID:GNU>:-Wno-missing-field-initializers>)

enable_testing()
find_package(GTest REQUIRED)
file(GLOB WAKUMO_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(wakumo_tests ${WAKUMO_UNIT_TESTS})
target_link_libraries(wakumo_tests PRIVATE wakumo_sim GTest::gmock GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(wakumo_tests DISCOVERY_TIMEOUT 60)
include(${CMAKE_SOURCE_DIR}/cmake/sanitize.cmake)

find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB WAKUMO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  foreach(src ${WAKUMO_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE wakumo_sim benchmark::benchmark)
  endforeach()
endif()
include(${CMAKE_SOURCE_DIR}/cmake/fuzz.cmake)
