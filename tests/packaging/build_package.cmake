# Builds the .deb afresh into OUT with cpack, from the installed files of the build tree.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed (${status}): build the programs and their manual pages first")
endif()
