/* The GMP peer of bench/compare_peers.sh: the same workloads as calvoro-cli,
 * parse + compute + print in decimal. Built by the script for the comparison
 * only; never linked into Calvoro.
 *   gmp_peer fac N          N!
 *   gmp_peer mul FILE       A*B read from FILE
 *   gmp_peer div FILE D     A/B read from FILE, truncated to D fraction digits
 *   gmp_peer bin FILE       a binary integer read from FILE, printed in decimal */
#include <gmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static char* read_file(const char* path) {
  FILE* f = fopen(path, "rb");
  if (!f) exit(2);
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, 0, SEEK_SET);
  char* text = malloc((size_t)size + 1);
  size_t got = fread(text, 1, (size_t)size, f);
  text[got] = 0;
  fclose(f);
  while (got > 0 && (text[got - 1] == '\n' || text[got - 1] == '\r')) text[--got] = 0;
  return text;
}

static void print(const mpz_t x) {
  char* s = mpz_get_str(NULL, 10, x);
  fputs(s, stdout);
  free(s);
}

int main(int argc, char** argv) {
  mpz_t a, b, q;
  mpz_inits(a, b, q, NULL);
  if (argc == 3 && strcmp(argv[1], "fac") == 0) {
    mpz_fac_ui(a, strtoul(argv[2], NULL, 10));
    print(a);
  } else if (argc == 3 && strcmp(argv[1], "mul") == 0) {
    char* text = read_file(argv[2]);
    char* star = strchr(text, '*');
    *star = 0;
    mpz_set_str(a, text, 10);
    mpz_set_str(b, star + 1, 10);
    mpz_mul(q, a, b);
    print(q);
  } else if (argc == 4 && strcmp(argv[1], "div") == 0) {
    char* text = read_file(argv[2]);
    char* slash = strchr(text, '/');
    *slash = 0;
    unsigned long digits = strtoul(argv[3], NULL, 10);
    mpz_set_str(a, text, 10);
    mpz_set_str(b, slash + 1, 10);
    mpz_t scale;
    mpz_init(scale);
    mpz_ui_pow_ui(scale, 10, digits);
    mpz_mul(a, a, scale);
    mpz_tdiv_q(q, a, b);
    /* q has the fraction digits at its end: print integer "." fraction. */
    char* s = mpz_get_str(NULL, 10, q);
    size_t len = strlen(s);
    if (len <= digits) {
      fputs("0.", stdout);
      for (size_t i = len; i < digits; ++i) putchar('0');
      fputs(s, stdout);
    } else {
      fwrite(s, 1, len - digits, stdout);
      printf(".%s", s + len - digits);
    }
    free(s);
  } else if (argc == 3 && strcmp(argv[1], "bin") == 0) {
    char* text = read_file(argv[2]);
    mpz_set_str(a, text, 2);
    print(a);
  } else {
    return 2;
  }
  putchar('\n');
  return 0;
}
