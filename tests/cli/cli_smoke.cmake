# Runs calvoro-cli as a user would: results on standard output, messages on
# standard error, and the exit status.
function(expect_run expected_rc expected_out expected_err)
  execute_process(COMMAND ${CLI} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${expected_rc}" OR NOT out STREQUAL "${expected_out}"
     OR NOT err STREQUAL "${expected_err}")
    message(FATAL_ERROR "calvoro-cli ${ARGN}\n rc=${rc} (want ${expected_rc})\n"
                        " out=[${out}] (want [${expected_out}])\n err=[${err}] (want [${expected_err}])")
  endif()
endfunction()

expect_run(0 "1/7=0.14285714285\n" "" "1/7")
expect_run(0 "1/3=0.33333\n" "" --precision 4 "1/3")
expect_run(0 "FF+1=100\n10.1*11=111.1\n" "" --base hex "FF+1" "10.1*11")
expect_run(1 "2^10=1024.000000\n"
           "Calvoro Warning Message: The denominator cannot be zero.\n" "5/0" "2^10")
expect_run(2 "" "usage: calvoro-cli [--base bin|oct|dec|hex] [--precision N] [INPUT ...]\n  INPUT is LEFT OP RIGHT, OP one of + - * / ^ (for example 1/7 or 2^0.5).\n  Without INPUT, inputs are read from standard input, one per line.\n" --base ten)
