# Runs brindle-check --format json over the real-file corpus and compares the tally of
# its verdicts with corpus-expectations.txt. Skipped, with a message, without the corpus.
#   PROGRAM, TALLY   brindle-check and corpus_tally
#   CORPUS           the corpus folder
#   EXPECTED         the committed expectations; ACTUAL, where this run's tally is written
if(NOT IS_DIRECTORY "${CORPUS}")
  message("corpus not found at ${CORPUS}: skipped (set BRINDLE_CORPUS_DIR to run it)")
  return()
endif()

get_filename_component(report "${ACTUAL}.json" ABSOLUTE)
execute_process(COMMAND ${PROGRAM} --format json --quiet .
                WORKING_DIRECTORY ${CORPUS}
                RESULT_VARIABLE status OUTPUT_FILE ${report} ERROR_VARIABLE err)
# 0 or 1 only: 2 is a file that cannot be read, anything else a crash.
if(NOT status STREQUAL "0" AND NOT status STREQUAL "1")
  message(FATAL_ERROR "brindle-check ended with ${status} over ${CORPUS}\n${err}")
endif()

execute_process(COMMAND ${TALLY} ${report} RESULT_VARIABLE tally_status OUTPUT_FILE ${ACTUAL} ERROR_VARIABLE err)
if(NOT tally_status STREQUAL "0")
  message(FATAL_ERROR "the JSON report cannot be tallied: ${err}")
endif()

file(READ ${EXPECTED} expected)
file(READ ${ACTUAL} actual)
# The expectations file may start with comment lines.
string(REGEX REPLACE "^(#[^\n]*\n)+" "" expected "${expected}")
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "What the engine accepts in the corpus has changed.\n"
                      "--- expected (${EXPECTED}) ---\n${expected}"
                      "--- now (${ACTUAL}) ---\n${actual}"
                      "If the change is meant, put the new tally (after the comment lines) into the expectations file.")
endif()
message("corpus: tally matches ${EXPECTED}")
