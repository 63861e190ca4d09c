# Runs icon_strips into OUT and requires each strip to equal the one in EXPECTED.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${GENERATOR} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "icon_strips failed: ${status}")
endif()
foreach(strip icons16.bmp icons24.bmp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${strip} ${EXPECTED}/${strip}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${EXPECTED}/${strip} is not what icon_strips draws: remake it with "
                        "icon_strips ${EXPECTED}")
  endif()
endforeach()
