# Replays one harness's inputs and fuzzes it briefly from a scratch corpus
# (the inputs stay as generated). A crash, a failed property, a leak or a hang
# fails the test; its input is kept in DIR/artifacts.
set(inputs ${DIR}/inputs/${NAME})
set(scratch ${DIR}/brief/${NAME})
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch} ${inputs} ${DIR}/artifacts)
# A fixed random start and a bounded number of runs make the mutations the same on
# every machine; the time limit only cuts short a slow harness.
execute_process(COMMAND ${HARNESS} -runs=20000 -max_total_time=${SECONDS} -timeout=10 -print_final_stats=1
                        -artifact_prefix=${DIR}/artifacts/${NAME}- ${scratch} ${inputs}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzz_${NAME} failed (${rc}):\n${err}")
endif()
string(REGEX MATCH "stat::number_of_executed_units: [0-9]+" runs "${err}")
message(STATUS "fuzz_${NAME}: ${runs}")
