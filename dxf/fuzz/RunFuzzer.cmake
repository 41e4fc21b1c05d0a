# Runs a DXF fuzzer on a fresh corpus: the hand-written seeds and, when present, the sample drawings
# ($PLANROAD_DXF_SAMPLES or SAMPLES). With RUNS it makes that many runs from the random seed SEED (1
# unless given), so that a test run passes or fails the same way every time, stopping early after
# SECONDS; without RUNS it runs for SECONDS from a random seed, to look for new findings. Fails when the
# fuzzer finds a crash, a sanitizer report, a leak or an input that takes longer than TIMEOUT seconds
# (10 unless given).
# Usage: cmake -DFUZZER=... -DSEEDS=... -DDICTIONARY=... -DSAMPLES=... -DCORPUS=... -DSECONDS=20
#        [-DRUNS=20000 [-DSEED=1]] [-DMAX_LEN=16384] [-DTIMEOUT=10] -P RunFuzzer.cmake
if(NOT DEFINED MAX_LEN)
  set(MAX_LEN 16384)
endif()
if(NOT DEFINED TIMEOUT)
  set(TIMEOUT 10)
endif()
if(NOT DEFINED SEED)
  set(SEED 1)
endif()
set(repeatable)
if(DEFINED RUNS AND NOT RUNS STREQUAL "")
  set(repeatable -runs=${RUNS} -seed=${SEED})
endif()
file(REMOVE_RECURSE "${CORPUS}")
file(MAKE_DIRECTORY "${CORPUS}" "${CORPUS}-findings")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${CORPUS}")
if(DEFINED ENV{PLANROAD_DXF_SAMPLES})
  set(SAMPLES "$ENV{PLANROAD_DXF_SAMPLES}")
endif()
file(GLOB samples "${SAMPLES}/*.dxf")
if(samples)
  file(COPY ${samples} DESTINATION "${CORPUS}")
else()
  message(STATUS "no sample drawings in ${SAMPLES}: fuzzing from the seeds alone")
endif()
execute_process(
  COMMAND "${FUZZER}" ${repeatable} -max_total_time=${SECONDS} -max_len=${MAX_LEN} -timeout=${TIMEOUT}
          -dict=${DICTIONARY} -print_final_stats=1 -artifact_prefix=${CORPUS}-findings/ "${CORPUS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a problem (exit ${result}); the input is in ${CORPUS}-findings")
endif()
