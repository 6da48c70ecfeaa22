// calvoro-cli complex: not built yet.
#include <iostream>

#include "cli/subcommands.h"

namespace calvoro::cli {

int RunComplexCommand(Arguments) {
  std::cerr << "calvoro-cli: complex is not available yet\n";
  return 2;
}

}  // namespace calvoro::cli
