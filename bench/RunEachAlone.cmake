# Runs every benchmark a benchmark program registers alone, each in a process of its own
# and for as few passes as it allows (BB_BENCH_QUICK=1, and a minimal time for those that
# time themselves): a benchmark whose setup leans on another having run first, or that
# fails or skips itself with an error, fails the check. New benchmarks are covered as soon
# as they are registered: the names come from the program.
#
#   cmake -DPROGRAM=<benchmark program> [-DSHARD=i -DSHARDS=n] -P RunEachAlone.cmake
#
# With SHARDS, only the benchmarks whose place in the program's list is SHARD modulo SHARDS
# run (so that n checks can share a long program's benchmarks side by side).
# Run from the folder the program runs in (the build folder).
if(NOT PROGRAM OR NOT EXISTS "${PROGRAM}")
  message(FATAL_ERROR "RunEachAlone: give -DPROGRAM=<a benchmark program>")
endif()
set(ENV{BB_BENCH_QUICK} 1)
execute_process(COMMAND "${PROGRAM}" --benchmark_list_tests=true
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "RunEachAlone: ${PROGRAM} could not list its benchmarks (${rc}):\n${errors}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" names "${listing}")
if(NOT names)
  message(FATAL_ERROR "RunEachAlone: ${PROGRAM} lists no benchmarks")
endif()
if(NOT SHARDS)
  set(SHARDS 1)
  set(SHARD 0)
endif()
set(failed "")
set(place -1)
set(ran 0)
foreach(name IN LISTS names)
  math(EXPR place "${place} + 1")
  math(EXPR mine "${place} % ${SHARDS}")
  if(NOT mine EQUAL SHARD)
    continue()
  endif()
  math(EXPR ran "${ran} + 1")
  # The name as a regular expression that matches it alone.
  string(REGEX REPLACE "([][.*+?^$()|\\\\{}])" "\\\\\\1" pattern "${name}")
  string(TIMESTAMP start "%s")
  execute_process(COMMAND "${PROGRAM}" "--benchmark_filter=^${pattern}$" --benchmark_min_time=0.001
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  string(TIMESTAMP end "%s")
  math(EXPR seconds "${end} - ${start}")
  if(NOT rc EQUAL 0)
    list(APPEND failed "${name}")
    message("FAILED ${name}: exit ${rc}\n${out}${err}")
  elseif(out MATCHES "ERROR OCCURRED" OR err MATCHES "ERROR OCCURRED")
    list(APPEND failed "${name}")
    message("FAILED ${name}: it skipped itself with an error\n${out}${err}")
  elseif(NOT out MATCHES "${pattern}")
    list(APPEND failed "${name}")
    message("FAILED ${name}: it did not run alone\n${out}${err}")
  else()
    message("ran alone: ${name} (${seconds} s)")
  endif()
endforeach()
if(failed)
  list(LENGTH failed failures)
  message(FATAL_ERROR "RunEachAlone: ${failures} of ${ran} benchmarks of ${PROGRAM} fail alone")
endif()
message("RunEachAlone: all ${ran} benchmarks of ${PROGRAM} (shard ${SHARD} of ${SHARDS}) run alone")
