# Runs PROGRAM (through EMULATOR when set) with ARGS ('|'-separated) and checks
# the exit code against EXPECT_RC and, when EXPECTED names a file, stdout
# against that file byte for byte.
string(REPLACE "|" ";" emu "${EMULATOR}")
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${emu} ${PROGRAM} ${args}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL EXPECT_RC)
  message(FATAL_ERROR "exit code ${rc}, expected ${EXPECT_RC}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(NOT EXPECT_RC EQUAL 0 AND err STREQUAL "")
  message(FATAL_ERROR "a failure must say why on stderr")
endif()
if(EXPECTED)
  file(READ "${EXPECTED}" want)
  if(NOT out STREQUAL want)
    message(FATAL_ERROR "output differs from ${EXPECTED}\n--- got:\n${out}\n--- want:\n${want}")
  endif()
endif()
message(STATUS "ok: ${out}")
