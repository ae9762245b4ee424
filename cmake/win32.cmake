# Windows: wakumo.exe = the portable core + the Win32 adapters + resources.
# Cross-built with cmake/mingw-w64-x86_64.cmake, or natively with MinGW-w64.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(NOT CMAKE_RC_COMPILER)
  find_program(CMAKE_RC_COMPILER NAMES x86_64-w64-mingw32-windres windres REQUIRED)
endif()

# GCC 12 reports false -Wrestrict errors inside std::string copies when
# optimising (GCC bug 105329); they would stop the -Werror build.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  add_compile_options(-Wno-restrict)
  target_compile_options(wakumo_core PRIVATE -Wno-restrict)
endif()

# A small exe: optimised for size (start-up, not arithmetic, is what the user
# waits for), each function and datum in a section of its own so that the
# linker drops what nothing uses. Link-time optimisation is left out: with
# -Os, GCC 12 for mingw-w64 stops with an internal compiler error.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
endif()
add_compile_options(-ffunction-sections -fdata-sections)
target_compile_options(wakumo_core PRIVATE -ffunction-sections -fdata-sections)

# The adapters, everything of src/win32 but the entry point, so that test
# programs can link them too.
file(GLOB WAKUMO_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/win32/*.cpp)
list(FILTER WAKUMO_WIN32_SOURCES EXCLUDE REGEX "/win32_main\\.cpp$")
add_library(wakumo_win32 STATIC ${WAKUMO_WIN32_SOURCES})
target_compile_definitions(wakumo_win32 PUBLIC UNICODE _UNICODE)
# Windows' own libraries only.
target_link_libraries(wakumo_win32 PUBLIC wakumo_core user32 gdi32 shell32 comctl32 msimg32 version)

# Links an executable the way wakumo.exe is linked: the C and C++ runtimes
# statically (no DLL beyond Windows' own), wide-character entry point.
# SUBSYSTEM is GUI (no console window) or CONSOLE.
function(wakumo_win32_executable target subsystem)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE)
  if(subsystem STREQUAL "GUI")
    set(subsystem_flag -mwindows)
  else()
    set(subsystem_flag -mconsole)
  endif()
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -municode ${subsystem_flag})
endfunction()

# Resources: the pictures are drawn at build time into the build folder.
set(WAKUMO_RES_DIR ${CMAKE_BINARY_DIR}/resources)
set(WAKUMO_RES_PICTURES
  ${WAKUMO_RES_DIR}/mycursor.cur
  ${WAKUMO_RES_DIR}/handpoint.cur
  ${WAKUMO_RES_DIR}/mainicon.ico
  ${WAKUMO_RES_DIR}/sight.bmp
  ${WAKUMO_RES_DIR}/getglyph.bmp
  ${WAKUMO_RES_DIR}/wlistglyph.bmp
  ${WAKUMO_RES_DIR}/wsglyph.bmp
  ${WAKUMO_RES_DIR}/listglyph.bmp
  ${WAKUMO_RES_DIR}/maxboth.bmp
  ${WAKUMO_RES_DIR}/maxvert.bmp
  ${WAKUMO_RES_DIR}/maxhorz.bmp)
add_custom_command(
  OUTPUT ${WAKUMO_RES_PICTURES}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/resources/make_resources.py ${WAKUMO_RES_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_resources.py
  COMMENT "Drawing the cursors, the icon and the bitmaps"
  VERBATIM)
# windres is run directly: the project-wide warning flags are not its flags.
set(WAKUMO_RES_OBJECT ${WAKUMO_RES_DIR}/wakumo_res.o)
add_custom_command(
  OUTPUT ${WAKUMO_RES_OBJECT}
  COMMAND ${CMAKE_RC_COMPILER} -O coff --codepage=65001
          -I ${WAKUMO_RES_DIR} -I ${CMAKE_SOURCE_DIR}/resources -I ${CMAKE_SOURCE_DIR}/src
          -i ${CMAKE_SOURCE_DIR}/resources/wakumo.rc -o ${WAKUMO_RES_OBJECT}
  DEPENDS ${WAKUMO_RES_PICTURES} ${CMAKE_SOURCE_DIR}/resources/wakumo.rc ${CMAKE_SOURCE_DIR}/src/app/resource_ids.h
          ${CMAKE_SOURCE_DIR}/resources/wakumo.exe.manifest
  COMMENT "Compiling the resources"
  VERBATIM)
# One target owns the generated files, so that two executables built in
# parallel never write them at the same time.
add_custom_target(wakumo_resources DEPENDS ${WAKUMO_RES_OBJECT})

# Links the compiled resources into an executable.
function(wakumo_win32_resources target)
  add_dependencies(${target} wakumo_resources)
  target_link_libraries(${target} PRIVATE ${WAKUMO_RES_OBJECT})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${WAKUMO_RES_OBJECT})
endfunction()

add_executable(wakumo ${CMAKE_SOURCE_DIR}/src/win32/win32_main.cpp)
target_link_libraries(wakumo PRIVATE wakumo_win32)
wakumo_win32_resources(wakumo)
wakumo_win32_executable(wakumo GUI)
target_link_options(wakumo PRIVATE -Wl,--gc-sections)
# Shipped stripped; the symbols stay beside it in wakumo.debug, which a
# debugger finds through the exe's debug link.
if(CMAKE_OBJCOPY AND CMAKE_STRIP)
  add_custom_command(TARGET wakumo POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:wakumo> $<TARGET_FILE_DIR:wakumo>/wakumo.debug
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:wakumo>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_DIR:wakumo>/wakumo.debug $<TARGET_FILE:wakumo>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:wakumo>
    COMMENT "Stripping wakumo.exe, its symbols kept in wakumo.debug"
    VERBATIM)
endif()

# The help file: the pages of help/ compiled into wakumo.chm beside
# wakumo.exe, by chmcmd (Debian fp-utils) or the HTML Help Workshop's hhc.
set(program_files_x86 "ProgramFiles(x86)")
find_program(WAKUMO_HELP_COMPILER NAMES chmcmd hhc
             PATHS "$ENV{${program_files_x86}}/HTML Help Workshop" "$ENV{ProgramFiles}/HTML Help Workshop")
set(WAKUMO_HELP_FILE ${CMAKE_BINARY_DIR}/wakumo.chm)
if(WAKUMO_HELP_COMPILER)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/help/make_help.py --list
                  OUTPUT_VARIABLE help_files OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" help_files "${help_files}")
  list(TRANSFORM help_files PREPEND ${CMAKE_SOURCE_DIR}/help/)
  # A page added to the project is picked up at the next build.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/wakumo.hhp)
  add_custom_command(
    OUTPUT ${WAKUMO_HELP_FILE}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/help/make_help.py --compiler ${WAKUMO_HELP_COMPILER}
            --stage ${CMAKE_BINARY_DIR}/help --output ${WAKUMO_HELP_FILE}
    DEPENDS ${help_files} ${CMAKE_SOURCE_DIR}/help/make_help.py
    COMMENT "Compiling the help file wakumo.chm"
    VERBATIM)
  add_custom_target(wakumo_help ALL DEPENDS ${WAKUMO_HELP_FILE})
else()
  message(WARNING "No help compiler found (chmcmd, from the Debian package fp-utils-3.2.2, or hhc from the "
                  "HTML Help Workshop): wakumo.chm is not built, and ヘルプ... will find no help file.")
endif()

# Adapter tests: the Win32 adapters against the real user32, gdi32 and
# comctl32, run under Wine on Linux.
enable_testing()
file(GLOB WAKUMO_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(WAKUMO_WIN32_TEST_SOURCES)
  add_executable(wakumo_win32_tests ${WAKUMO_WIN32_TEST_SOURCES})
  target_link_libraries(wakumo_win32_tests PRIVATE wakumo_win32)
  wakumo_win32_resources(wakumo_win32_tests)
  wakumo_win32_executable(wakumo_win32_tests CONSOLE)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME win32_adapters
             COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/run_under_wine.sh $<TARGET_FILE:wakumo_win32_tests>)
  else()
    add_test(NAME win32_adapters COMMAND wakumo_win32_tests)
  endif()
  # run_under_wine.sh exits 77 when Wine or Xvfb is missing.
  set_tests_properties(win32_adapters PROPERTIES SKIP_RETURN_CODE 77)
endif()

# The help file unpacked again and compared with its sources.
if(WAKUMO_HELP_COMPILER)
  add_test(NAME help_file
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/help/check_help.py ${WAKUMO_HELP_FILE}
                   ${CMAKE_BINARY_DIR}/help-extracted)
  set_tests_properties(help_file PROPERTIES SKIP_RETURN_CODE 77)
endif()

# Adapter tests of the platform, file and code-page ports: a program of their
# own, so that the clipboard, the keyboard focus and the code page they use
# start fresh.
file(GLOB WAKUMO_WIN32_PLATFORM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/platform/*.cpp)
if(WAKUMO_WIN32_PLATFORM_TEST_SOURCES)
  add_executable(wakumo_win32_platform_tests ${WAKUMO_WIN32_PLATFORM_TEST_SOURCES})
  target_link_libraries(wakumo_win32_platform_tests PRIVATE wakumo_win32)
  wakumo_win32_executable(wakumo_win32_platform_tests CONSOLE)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME win32_platform_adapters
             COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/run_under_wine.sh $<TARGET_FILE:wakumo_win32_platform_tests>)
  else()
    add_test(NAME win32_platform_adapters COMMAND wakumo_win32_platform_tests)
  endif()
  set_tests_properties(win32_platform_adapters PROPERTIES SKIP_RETURN_CODE 77)
endif()

# Adapter tests of the notification area: a program of their own, run in a
# virtual desktop named "shell" (which has a taskbar) with xdotool for real
# input. They borrow the end-to-end driver's input and screen helpers.
file(GLOB WAKUMO_WIN32_TRAY_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/tray/*.cpp)
if(WAKUMO_WIN32_TRAY_TEST_SOURCES)
  add_executable(wakumo_win32_tray_tests ${WAKUMO_WIN32_TRAY_TEST_SOURCES}
                 ${CMAKE_SOURCE_DIR}/tests/e2e/driver/harness.cpp
                 ${CMAKE_SOURCE_DIR}/tests/e2e/driver/input_screen.cpp)
  target_include_directories(wakumo_win32_tray_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/e2e/driver)
  target_link_libraries(wakumo_win32_tray_tests PRIVATE wakumo_win32)
  wakumo_win32_resources(wakumo_win32_tray_tests)
  wakumo_win32_executable(wakumo_win32_tray_tests CONSOLE)
  if(CMAKE_CROSSCOMPILING)
    find_program(WAKUMO_XDOTOOL xdotool)
    if(NOT WAKUMO_XDOTOOL)
      set(WAKUMO_XDOTOOL xdotool)
    endif()
    add_test(NAME win32_tray
             COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/run_under_wine.sh --desktop shell
                     $<TARGET_FILE:wakumo_win32_tray_tests> --xdotool ${WAKUMO_XDOTOOL}
                     --out ${CMAKE_BINARY_DIR}/tray)
  else()
    add_test(NAME win32_tray COMMAND wakumo_win32_tray_tests)
  endif()
  set_tests_properties(win32_tray PROPERTIES SKIP_RETURN_CODE 77)
endif()

# ---- End-to-end driver ------------------------------------------------------
# tests/e2e/ brings its own CMakeLists.txt for the driver exe (built from
# tests/e2e/driver/*.cpp). It links like wakumo.exe:
#   add_executable(<driver> ...)  then  wakumo_win32_executable(<driver> GUI|CONSOLE)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/e2e ${CMAKE_BINARY_DIR}/tests/e2e)
endif()

# ---- Start-up benchmark -----------------------------------------------------
# Run under Wine by tests/startup/run.sh: wakumo.exe against a bare window and
# a program that makes the same windows (tests/startup/reference.cpp), which
# carries the same manifest so that it gets the same controls and DPI mode.
set(WAKUMO_STARTUP_DIR ${CMAKE_SOURCE_DIR}/tests/startup)
set(WAKUMO_REFERENCE_RES ${CMAKE_BINARY_DIR}/bench/reference_res.o)
add_custom_command(
  OUTPUT ${WAKUMO_REFERENCE_RES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bench
  COMMAND ${CMAKE_RC_COMPILER} -O coff -I ${CMAKE_SOURCE_DIR}/resources -i ${WAKUMO_STARTUP_DIR}/reference.rc
          -o ${WAKUMO_REFERENCE_RES}
  DEPENDS ${WAKUMO_STARTUP_DIR}/reference.rc ${CMAKE_SOURCE_DIR}/resources/wakumo.exe.manifest
  COMMENT "Compiling the start-up reference's manifest"
  VERBATIM)
add_custom_target(startup_reference_resources DEPENDS ${WAKUMO_REFERENCE_RES})
add_executable(startup_reference ${WAKUMO_STARTUP_DIR}/reference.cpp ${WAKUMO_STARTUP_DIR}/recipe.cpp)
add_dependencies(startup_reference startup_reference_resources)
target_link_libraries(startup_reference PRIVATE ${WAKUMO_REFERENCE_RES} user32 gdi32 comctl32 shell32)
wakumo_win32_executable(startup_reference GUI)
add_executable(startup_bench ${WAKUMO_STARTUP_DIR}/startup_bench.cpp ${WAKUMO_STARTUP_DIR}/recipe.cpp)
target_link_libraries(startup_bench PRIVATE user32 gdi32)
wakumo_win32_executable(startup_bench CONSOLE)
