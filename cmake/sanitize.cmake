# The threaded tests (tray component, worker threads) under a sanitizer, in a
# build folder of their own: -DWAKUMO_SANITIZE=thread or address,undefined.
# Only the code they run is compiled again, so the stage stays short.
# Under address,undefined the main window's model test runs there too, on a
# long sequence: its own test prefix keeps it out of the repeated threaded runs.
set(WAKUMO_SANITIZE "" CACHE STRING "Sanitizers for wakumo_threads_tests (thread, or address,undefined)")
set(WAKUMO_SANITIZED_MODEL_STEPS 200000 CACHE STRING "Steps of the model test under address,undefined")

if(WAKUMO_SANITIZE)
  set(flags -fsanitize=${WAKUMO_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  function(wakumo_sanitized target)
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_compile_options(${target} PUBLIC ${flags} $<$<CXX_COMPILER_ID:GNU>:-Wno-missing-field-initializers>)
    target_link_options(${target} PUBLIC -fsanitize=${WAKUMO_SANITIZE})
  endfunction()

  file(GLOB WAKUMO_THREADS_SUPPORT CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/core/*.cpp
    ${CMAKE_SOURCE_DIR}/src/ui/*.cpp
    ${CMAKE_SOURCE_DIR}/src/tray/*.cpp
    ${CMAKE_SOURCE_DIR}/src/sim/*.cpp)
  add_library(wakumo_sanitized_support STATIC ${WAKUMO_THREADS_SUPPORT})
  wakumo_sanitized(wakumo_sanitized_support)

  file(GLOB WAKUMO_THREADS_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/unit/tray_*_test.cpp
    ${CMAKE_SOURCE_DIR}/tests/unit/sim_workers_test.cpp)
  add_executable(wakumo_threads_tests ${WAKUMO_THREADS_SOURCES})
  target_link_libraries(wakumo_threads_tests PRIVATE wakumo_sanitized_support GTest::gtest GTest::gtest_main)
  gtest_discover_tests(wakumo_threads_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "sanitized.")

  if(WAKUMO_SANITIZE MATCHES "address")
    file(GLOB WAKUMO_MODEL_SOURCES CONFIGURE_DEPENDS
      ${CMAKE_SOURCE_DIR}/src/app/*.cpp
      ${CMAKE_SOURCE_DIR}/src/platform/*.cpp
      ${CMAKE_SOURCE_DIR}/src/controls/*.cpp
      ${CMAKE_SOURCE_DIR}/src/presets/*.cpp)
    add_executable(wakumo_model_tests ${WAKUMO_MODEL_SOURCES}
      ${CMAKE_SOURCE_DIR}/tests/unit/main_form_model_test.cpp
      ${CMAKE_SOURCE_DIR}/tests/unit/settings_print.cpp)
    wakumo_sanitized(wakumo_model_tests)
    target_link_libraries(wakumo_model_tests PRIVATE wakumo_sanitized_support GTest::gtest GTest::gtest_main)
    gtest_discover_tests(wakumo_model_tests DISCOVERY_TIMEOUT 60 TEST_PREFIX "sanitized-model."
      PROPERTIES ENVIRONMENT "WAKUMO_MODEL_STEPS=${WAKUMO_SANITIZED_MODEL_STEPS}")
  endif()
endif()
