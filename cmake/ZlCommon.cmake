# Build rules shared by every target of ours (not by third-party code).

set(ZL_DEPS_DIR /opt/zolyric-deps CACHE PATH "Third-party libraries built by scripts/setup")
option(ZL_FUZZ "Build the libFuzzer harnesses (clang; the fuzz preset)" OFF)

if(WIN32)
  # A plug-in DLL inside the player cannot find runtime DLLs beside itself.
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -static")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " -static")
  string(APPEND CMAKE_MODULE_LINKER_FLAGS " -static")
  set(ZL_TRIPLE_DIR ${ZL_DEPS_DIR}/${ZL_TRIPLE})
  set(GTest_DIR ${ZL_TRIPLE_DIR}/lib/cmake/GTest)
endif()

# Our own targets: strict warnings, GBK narrow literals, sanitizers on the native build.
function(zl_target target)
  # Resource scripts go through windres, which takes none of these.
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Werror -Wno-unused-parameter>)
  if(NOT ZL_FUZZ)
    # NOTE: clang takes no execution character set but UTF-8; the fuzzing
    # build checks parsers, whose few Chinese literals need not be GBK there.
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-fexec-charset=GBK>)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX
      _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
  if(ZL_SANITIZE)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer>)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(ZL_FUZZ)
    # Coverage for libFuzzer in every library a harness links, not only in the harness.
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=fuzzer-no-link,address,undefined
      -fno-sanitize-recover=all -fno-omit-frame-pointer>)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

if(WIN32)
  # Tests run through wine64 with a prefix of this build's own, under the
  # users' code page 936; a fixture brings up Xvfb and a persistent
  # wineserver around them and checks that code page first.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${CMAKE_BINARY_DIR})
endif()

find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# minizip with decryption, built by scripts/setup for each target (Debian's
# own has none), with its zip writer for the tests: zl_minizip.
if(WIN32)
  set(_zl_minizip_dir ${ZL_TRIPLE_DIR})
else()
  set(_zl_minizip_dir ${ZL_DEPS_DIR}/host)
endif()
add_library(zl_minizip STATIC IMPORTED GLOBAL)
set_target_properties(zl_minizip PROPERTIES
  IMPORTED_LOCATION ${_zl_minizip_dir}/lib/libminizip.a
  INTERFACE_INCLUDE_DIRECTORIES ${_zl_minizip_dir}/include
  INTERFACE_LINK_LIBRARIES z)

macro(zl_wine_fixture)
  if(WIN32 AND ZL_RUN_TESTS AND NOT TARGET zl_wine_fixture_marker)
    add_custom_target(zl_wine_fixture_marker)
    add_test(NAME wine_start COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env start ${CMAKE_BINARY_DIR})
    add_test(NAME wine_stop COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-env stop ${CMAKE_BINARY_DIR})
    set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
    set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)
  endif()
endmacro()

# zl_test(<name> SOURCES ... [LIBS ...]): one GoogleTest program, one CTest entry.
# Run a single case with: ctest --preset <p> -R <name>, or the program itself
# with --gtest_filter (under scripts/wine-run for the Windows builds).
# Tests that read pixels back from the shared Xvfb screen take the CTest lock
# "screen": another test's window over theirs would change what they read.
function(zl_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  zl_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(WIN32)
    # The fixture runs it first: a test built alone can still be run alone.
    add_dependencies(${name} wine_codepage)
  endif()
  if(NOT ZL_RUN_TESTS)
    return()
  endif()
  zl_wine_fixture()
  add_test(NAME ${name} COMMAND ${name})
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# zl_bench(<name> SOURCES ... [LIBS ...]): one Google Benchmark program, part
# of the target `benchmarks`. Only with ZL_BENCH (the bench preset: native,
# optimised, no sanitizers), so that the figures are the code's own.
if(ZL_BENCH)
  find_package(benchmark REQUIRED)
  add_custom_target(benchmarks)
endif()
function(zl_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  zl_target(${name})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
  add_dependencies(benchmarks ${name})
endfunction()

include(ZlFuzz)
