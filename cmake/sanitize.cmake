# The threaded tests (tray component, worker threads) under a sanitizer, in a
# build folder of their own: -DWAKUMO_SANITIZE=thread or address,undefined.
# Only the code they run is compiled again, so the stage stays short.
set(WAKUMO_SANITIZE "" CACHE STRING "Sanitizers for wakumo_threads_tests (thread, or address,undefined)")

if(WAKUMO_SANITIZE)
  file(GLOB WAKUMO_THREADS_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/core/*.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/*.cpp
    ${CMAKE_SOURCE_DIR}/src/tray/*.cpp
    ${CMAKE_SOURCE_DIR}/src/sim/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/unit/tray_*_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/unit/sim_workers_test.cpp)
  add_executable(wakumo_threads_tests ${WAKUMO_THREADS_SOURCES})
  target_include_directories(wakumo_threads_tests PRIVATE ${CMAKE_SOURCE_DIR}/src)
  set(flags -fsanitize=${WAKUMO_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  target_compile_options(wakumo_threads_tests PRIVATE ${flags}
                         $<$<CXX_COMPILER_ID:GNU>:-Wno-missing-field-initializers>)
  target_link_options(wakumo_threads_tests PRIVATE -fsanitize=${WAKUMO_SANITIZE})
  target_link_libraries(wakumo_threads_tests PRIVATE GTest::gtest GTest::gtest_main)
  gtest_discover_tests(wakumo_threads_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "sanitized.")
endif()
