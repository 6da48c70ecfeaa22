// calvoro-cli convert / units: not built yet.
#include <iostream>

#include "cli/subcommands.h"

namespace calvoro::cli {

int RunConvertCommand(Arguments) {
  std::cerr << "calvoro-cli: convert is not available yet\n";
  return 2;
}

int RunUnitsCommand(Arguments) {
  std::cerr << "calvoro-cli: units is not available yet\n";
  return 2;
}

}  // namespace calvoro::cli
