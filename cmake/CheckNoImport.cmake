# Fails when the DLL imports FORBIDDEN at load time (used for modules that
# must be delay-loaded). Arguments: OBJDUMP, DLL, FORBIDDEN.
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} could not read ${DLL}")
endif()
string(FIND "${dump}" "DLL Name: ${FORBIDDEN}" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "${DLL} imports ${FORBIDDEN} at load time; it must be delay-loaded")
endif()
