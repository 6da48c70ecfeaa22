/* Runs a command and prints its peak resident memory in bytes on standard
 * error. A small program of its own forks it: the peak the kernel reports for
 * a child includes the image it was forked from, which for Python alone is
 * tens of megabytes.
 *
 *   peak_rss COMMAND [ARG...]   (standard input and output pass through)
 */
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (wait4(child, &status, 0, &usage) < 0) return 2;
  fprintf(stderr, "%ld\n", usage.ru_maxrss * 1024L);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}
