# The fuzzing build (preset `fuzz`): one libFuzzer harness per parser.
#
#   zl_fuzzer(<name> SOURCES <harness.cpp> LIBS <libraries> [INCLUDES <private include dirs>])
#
# builds fuzz_<name> and a CTest entry that replays its inputs and fuzzes it
# for a few seconds. Inputs come from scripts/fuzz-inputs (a folder per harness
# name; a harness without inputs starts from nothing). scripts/fuzz runs every
# harness for longer.
if(ZL_FUZZ AND NOT TARGET fuzzers)
  add_custom_target(fuzzers)
  set(ZL_FUZZ_DIR ${CMAKE_BINARY_DIR}/fuzz)
  add_test(NAME fuzz_inputs COMMAND ${CMAKE_SOURCE_DIR}/scripts/fuzz-inputs ${ZL_FUZZ_DIR}/inputs)
  set_tests_properties(fuzz_inputs PROPERTIES FIXTURES_SETUP fuzz_inputs)
endif()

set(ZL_FUZZ_BRIEF_SECONDS 3 CACHE STRING "Seconds each harness fuzzes in the test run, after its inputs")

function(zl_fuzzer name)
  if(NOT ZL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
  add_executable(fuzz_${name} ${F_SOURCES})
  zl_target(fuzz_${name})
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/shared/tests/fuzz ${F_INCLUDES})
  target_link_libraries(fuzz_${name} PRIVATE ${F_LIBS})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers fuzz_${name})
  add_test(NAME fuzz_${name}
    COMMAND ${CMAKE_COMMAND} -DHARNESS=$<TARGET_FILE:fuzz_${name}> -DNAME=${name} -DDIR=${ZL_FUZZ_DIR}
            -DSECONDS=${ZL_FUZZ_BRIEF_SECONDS} -P ${CMAKE_SOURCE_DIR}/cmake/RunFuzzBrief.cmake)
  set_tests_properties(fuzz_${name} PROPERTIES FIXTURES_REQUIRED fuzz_inputs)
endfunction()
