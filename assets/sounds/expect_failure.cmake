# Runs a tool that must refuse its input: it has to fail, say EXPECT on its
# error output, and leave no OUTPUT file behind.
#   cmake -DTOOL=... -DINPUT=... -DOUTPUT=... -DEXPECT=... -P expect_failure.cmake
file(WRITE ${OUTPUT} "stale")
execute_process(COMMAND ${TOOL} ${INPUT} ${OUTPUT}
                RESULT_VARIABLE result ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(result EQUAL 0)
  message(FATAL_ERROR "the tool accepted ${INPUT}:\n${out}")
endif()
string(FIND "${err}" "${EXPECT}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "expected the message\n  ${EXPECT}\nbut the tool said\n  ${err}")
endif()
if(EXISTS ${OUTPUT})
  message(FATAL_ERROR "the tool left ${OUTPUT} behind")
endif()
