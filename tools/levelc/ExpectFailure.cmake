# Runs kelvra-levelc on a bad source: it must exit with 1, write no output file and name
# the fault as file:line: message. Variables: TOOL, SOURCE, OUTPUT, EXPECT (a regex).
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${TOOL} ${SOURCE} ${OUTPUT} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "exit code ${rc}, expected 1; stderr: ${err}")
endif()
if(EXISTS ${OUTPUT})
  message(FATAL_ERROR "an output file was written for a bad source")
endif()
if(NOT err MATCHES "${EXPECT}")
  message(FATAL_ERROR "stderr \"${err}\" does not match \"${EXPECT}\"")
endif()
