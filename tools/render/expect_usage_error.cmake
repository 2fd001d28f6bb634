# cmake -DPROGRAM=... -DARGS=a;b;c [-DMESSAGE=regex] -P expect_usage_error.cmake:
# the program must end with exit code 2, a message on standard error (matching
# MESSAGE when given) followed by the usage, and nothing written.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code EQUAL 2)
  message(FATAL_ERROR "exit code ${code}, expected 2 (stderr: ${err})")
endif()
if(NOT err MATCHES "^lumivortex-render: .*Usage: ")
  message(FATAL_ERROR "no usage message on standard error: '${err}'")
endif()
if(DEFINED MESSAGE AND NOT err MATCHES "^lumivortex-render: ${MESSAGE}\n")
  message(FATAL_ERROR "standard error does not say '${MESSAGE}': '${err}'")
endif()
if(NOT out STREQUAL "")
  message(FATAL_ERROR "unexpected standard output: '${out}'")
endif()
