# libFuzzer targets, one executable per tests/fuzz/*.cpp. Only clang ships the
# fuzzing runtime, so other compilers skip them.
option(WAKUMO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(WAKUMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(STATUS "WAKUMO_FUZZ is on but ${CMAKE_CXX_COMPILER_ID} is not clang: fuzz targets skipped")
  else()
    set(WAKUMO_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    # The code under test is built again with coverage instrumentation, so the
    # fuzzer sees its branches; the unit tests keep their plain build.
    add_library(wakumo_fuzz_support STATIC ${WAKUMO_CORE_SOURCES} ${WAKUMO_SIM_SOURCES})
    target_include_directories(wakumo_fuzz_support PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(wakumo_fuzz_support PUBLIC ${WAKUMO_FUZZ_FLAGS} PRIVATE -fsanitize=fuzzer-no-link)
    target_link_options(wakumo_fuzz_support PUBLIC -fsanitize=address,undefined)

    file(GLOB WAKUMO_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
    foreach(src ${WAKUMO_FUZZ_SOURCES})
      get_filename_component(name ${src} NAME_WE)
      add_executable(${name} ${src})
      target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
      target_link_options(${name} PRIVATE -fsanitize=fuzzer)
      target_link_libraries(${name} PRIVATE wakumo_fuzz_support)
      # A short run, as CI does. New inputs go to the build tree; the seeds in
      # the source tree (if any) are only read.
      set(work_corpus ${CMAKE_BINARY_DIR}/fuzz_corpus/${name})
      file(MAKE_DIRECTORY ${work_corpus})
      set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
      if(NOT EXISTS ${seeds})
        set(seeds "")
      endif()
      add_test(NAME ${name}_short COMMAND ${name} -max_total_time=10 -seed=1 ${work_corpus} ${seeds})
    endforeach()
  endif()
endif()
