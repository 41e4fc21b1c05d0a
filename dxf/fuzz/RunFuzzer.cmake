# Runs the tag reader's fuzzer for SECONDS on a fresh corpus: the hand-written seeds and, when present,
# the sample drawings ($PLANROAD_DXF_SAMPLES or SAMPLES). Fails when the fuzzer finds a crash.
# Usage: cmake -DFUZZER=... -DSEEDS=... -DDICTIONARY=... -DSAMPLES=... -DCORPUS=... -DSECONDS=20 -P RunFuzzer.cmake
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
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -max_len=16384 -dict=${DICTIONARY} -print_final_stats=1
          -artifact_prefix=${CORPUS}-findings/ "${CORPUS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a problem (exit ${result}); the input is in ${CORPUS}-findings")
endif()
