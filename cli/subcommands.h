// The tools of calvoro-cli beside plain calculation: `calvoro-cli NAME ...`.
// Each takes the arguments after its name and returns the exit status
// (0 done, 1 refused input, 2 usage error).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace calvoro::cli {

using Arguments = std::span<char* const>;

int RunConvertCommand(Arguments args);  // convert VALUE FROM-UNIT TO-UNIT --category NAME ...
int RunUnitsCommand(Arguments args);    // units [CATEGORY]
int RunComplexCommand(Arguments args);  // complex [--A re,im] ... EXPRESSION
int RunMatrixCommand(Arguments args);   // matrix add|sub|mul|trans FILE-A [FILE-B]
int RunLogCommand(Arguments args);      // log [--clear] [--settings FILE]
int RunRobotCommand(Arguments args);    // robot SOURCE... [--dest FILE] [--action NAME] ...

}  // namespace calvoro::cli
