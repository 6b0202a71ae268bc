# Compiles one source twice and requires identical files.
# Variables: TOOL, SOURCE, WORK (a scratch folder).
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
foreach(n 1 2)
  execute_process(COMMAND ${TOOL} ${SOURCE} ${WORK}/out${n}.MoL RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "kelvra-levelc failed with ${rc}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/out1.MoL ${WORK}/out2.MoL
  RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "two compilations of the same source differ")
endif()
