/* The MPFR peer of bench/compare_peers.sh: the function workloads as a small
 * C program calling MPFR directly, parse + compute + print in decimal. It
 * prints what calvoro-cli prints: the value rounded to nearest at DIGITS
 * fraction digits, trailing zeros dropped. Built by the script for the
 * comparison only.
 *   mpfr_peer FUNCTION DIGITS   FUNCTION: sqrt2 exp1 ln2 sin1 arctan1 pi */
#include <mpfr.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const char* function = argv[1];
  long digits = strtol(argv[2], NULL, 10);
  /* The digits asked for, the integer part and guard bits. */
  mpfr_prec_t bits = (mpfr_prec_t)(digits * 3.321928094887362) + 64;
  mpfr_t x, y;
  mpfr_init2(x, bits);
  mpfr_init2(y, bits);
  if (strcmp(function, "sqrt2") == 0) {
    mpfr_set_str(x, "2", 10, MPFR_RNDN);
    mpfr_sqrt(y, x, MPFR_RNDN);
  } else if (strcmp(function, "exp1") == 0) {
    mpfr_set_str(x, "1", 10, MPFR_RNDN);
    mpfr_exp(y, x, MPFR_RNDN);
  } else if (strcmp(function, "ln2") == 0) {
    mpfr_set_str(x, "2", 10, MPFR_RNDN);
    mpfr_log(y, x, MPFR_RNDN);
  } else if (strcmp(function, "sin1") == 0) {
    mpfr_set_str(x, "1", 10, MPFR_RNDN);
    mpfr_sin(y, x, MPFR_RNDN);
  } else if (strcmp(function, "arctan1") == 0) {
    mpfr_set_str(x, "1", 10, MPFR_RNDN);
    mpfr_atan(y, x, MPFR_RNDN);
  } else if (strcmp(function, "pi") == 0) {
    mpfr_const_pi(y, MPFR_RNDN);
  } else {
    return 2;
  }
  char* text = NULL;
  mpfr_asprintf(&text, "%.*RNf", (int)digits, y);
  size_t length = strlen(text);
  if (strchr(text, '.') != NULL) {
    while (length > 0 && text[length - 1] == '0') --length;
    if (length > 0 && text[length - 1] == '.') --length;
  }
  fwrite(text, 1, length, stdout);
  putchar('\n');
  mpfr_free_str(text);
  mpfr_clears(x, y, (mpfr_ptr)0);
  return 0;
}
