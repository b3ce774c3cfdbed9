# Runs brindle-check once and compares its exit status and output with a test's expectations.
#   PROGRAM    the program; RUNNER, when set, runs it (the Wine wrapper; "|" between its words)
#   ARGS       its arguments, separated by "|"
#   WORKDIR    the folder it runs in
#   STATUS     the exit status expected
#   STDOUT     a file holding exactly the standard output expected (optional)
#   STDOUT_MATCH, STDERR_MATCH   regular expressions the outputs must match (optional)
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "|" ";" runner "${RUNNER}")
execute_process(COMMAND ${runner} ${PROGRAM} ${args}
                WORKING_DIRECTORY ${WORKDIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(RUNNER)
  # A Windows console program writes CR LF for each line end.
  string(REPLACE "\r\n" "\n" out "${out}")
  string(REPLACE "\r\n" "\n" err "${err}")
endif()

set(failures "")
if(NOT "${status}" STREQUAL "${STATUS}")
  string(APPEND failures "exit status ${status}, expected ${STATUS}\n")
endif()
if(DEFINED STDOUT)
  file(READ ${STDOUT} expected)
  if(NOT "${out}" STREQUAL "${expected}")
    string(APPEND failures "standard output differs from ${STDOUT}\n")
  endif()
endif()
if(DEFINED STDOUT_MATCH AND NOT "${out}" MATCHES "${STDOUT_MATCH}")
  string(APPEND failures "standard output does not match: ${STDOUT_MATCH}\n")
endif()
if(DEFINED STDERR_MATCH AND NOT "${err}" MATCHES "${STDERR_MATCH}")
  string(APPEND failures "standard error does not match: ${STDERR_MATCH}\n")
endif()
if(failures)
  message(FATAL_ERROR "${failures}--- standard output ---\n${out}--- standard error ---\n${err}")
endif()
