# Runs a GoogleTest program until it gives a verdict. Under qemu-user a Wine process
# that shows the Open dialog sometimes hangs inside Wine and is killed after
# ATTEMPT_TIMEOUT seconds; only such a run is tried again, up to ATTEMPTS times.
# A printed verdict is final, passed or failed. When no attempt gives one, the test
# fails: a dialog that hangs every time is a fault to look at, not noise.
#   cmake -DPROGRAM=... [-DEMULATOR=a|b|c] -DFILTER=... -DATTEMPTS=n -DATTEMPT_TIMEOUT=s -P run_until_verdict.cmake
string(REPLACE "|" ";" emulator "${EMULATOR}")
foreach(attempt RANGE 1 ${ATTEMPTS})
  execute_process(
    COMMAND ${emulator} ${PROGRAM} --gtest_filter=${FILTER}
    TIMEOUT ${ATTEMPT_TIMEOUT}
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  message("${output}${errors}")
  if(output MATCHES "\\[  FAILED  \\]")
    message(FATAL_ERROR "failed")
  endif()
  if(output MATCHES "\\[  PASSED  \\] [0-9]+ tests?\\.")
    return()
  endif()
  message("attempt ${attempt} gave no verdict (${result})")
endforeach()
message(FATAL_ERROR "no verdict after ${ATTEMPTS} attempts")
