# Runs a test program whose every test skips itself (OnlySkips.cpp) twice: under CI=true
# it must exit non-zero and say the skip failed with its reason; without CI it must pass and
# show the skip.
#
#   cmake -DPROGRAM=<test_support_skip> -P SkipFails.cmake
if(NOT PROGRAM OR NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "SkipFails: give -DPROGRAM=<the program whose test skips>")
endif()
set(ENV{CI} true)
execute_process(COMMAND "${PROGRAM}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(rc EQUAL 0 OR NOT out MATCHES "skipped where every test must run \\(CI=true\\): the reason")
  message(FATAL_ERROR "SkipFails: under CI=true a skip passed (exit ${rc}):\n${out}${err}")
endif()
unset(ENV{CI})
execute_process(COMMAND "${PROGRAM}" OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "\\[  SKIPPED \\] OnlySkips.SkipsItself")
  message(FATAL_ERROR "SkipFails: without CI a skip did not pass as a skip (exit ${rc}):\n${out}${err}")
endif()
message("SkipFails: a skip fails under CI=true and stays a skip elsewhere")
