# cmake -DPROGRAM=... -DSCENE=name -DFRAME=n -DCHECKSUM=hex -DWORK=DIR -P expect_gallery_checksum.cmake:
# frame n of the gallery scene at 640 x 360 with seed 7 has the pinned pixel
# checksum; otherwise the test fails and says which checksum it found.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${PROGRAM} --gallery ${SCENE} --frames ${FRAME} --every ${FRAME} --size 640x360 --seed 7
                        --out ${WORK} --checksum
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "exit code ${code}: ${err}")
endif()
string(REGEX MATCH "frame_[0-9]+\\.png ([0-9a-f]+)" line "${out}")
set(actual "${CMAKE_MATCH_1}")
if(NOT actual STREQUAL CHECKSUM)
  message(FATAL_ERROR "frame ${FRAME} of '${SCENE}': checksum ${actual}, pinned ${CHECKSUM} (output: ${out})")
endif()
file(REMOVE_RECURSE ${WORK})
