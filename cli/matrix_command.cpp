// calvoro-cli matrix: not built yet.
#include <iostream>

#include "cli/subcommands.h"

namespace calvoro::cli {

int RunMatrixCommand(Arguments) {
  std::cerr << "calvoro-cli: matrix is not available yet\n";
  return 2;
}

}  // namespace calvoro::cli
