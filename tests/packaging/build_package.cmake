# Builds the .deb afresh into OUT with cpack, from the installed files of the build tree; then once more into
# a second folder, and compares the two packages byte for byte. The second run reuses the same build, so it
# checks what cpack adds (file times, owners and order in the archives, the control data), which is what
# differed between builds before SOURCE_DATE_EPOCH was set; compiled code that differed from build to build
# would not show here.
foreach(out ${OUT} ${OUT}-again)
  file(REMOVE_RECURSE ${out})
  execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${out} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack failed (${status}): build the programs and their manual pages first")
  endif()
endforeach()
file(GLOB first ${OUT}/*.deb)
file(GLOB second ${OUT}-again/*.deb)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${first} ${second} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
  message(FATAL_ERROR "two packages from the same build differ: ${first} ${second}")
endif()
file(SHA256 ${first} sum)
message(STATUS "both packages: sha256 ${sum}")
file(REMOVE_RECURSE ${OUT}-again)
