# cmake -DPROGRAM=... -DWORK=DIR -P expect_repeatable.cmake: two runs with
# the same options write the same kept frames, byte for byte, and only those.
file(REMOVE_RECURSE ${WORK})
foreach(run IN ITEMS a b)
  execute_process(COMMAND ${PROGRAM} --frames 12 --every 4 --size 96x64 --seed 42 --out ${WORK}/${run}
                  RESULT_VARIABLE code ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "run ${run}: exit code ${code}: ${err}")
  endif()
endforeach()
file(GLOB kept RELATIVE ${WORK}/a ${WORK}/a/*)
list(SORT kept)
if(NOT kept STREQUAL "frame_000004.png;frame_000008.png;frame_000012.png")
  message(FATAL_ERROR "kept frames: ${kept}")
endif()
foreach(frame IN LISTS kept)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a/${frame} ${WORK}/b/${frame}
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${frame} differs between two runs")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
