// The tools of calvoro-cli beside plain calculation: `calvoro-cli NAME ...`.
// Each takes the command line read by ParseCommandLine and returns the exit
// status (0 done, 1 refused input, 2 usage error).
#pragma once

#include "cli/command_line.h"

namespace calvoro::cli {

int RunConvertCommand(const CommandLine& line);  // convert VALUE FROM-UNIT TO-UNIT --category NAME
int RunUnitsCommand(const CommandLine& line);    // units [CATEGORY]
int RunComplexCommand(const CommandLine& line);  // complex [--A re,im] ... EXPRESSION
int RunMatrixCommand(const CommandLine& line);   // matrix add|sub|mul|trans FILE-A [FILE-B]
int RunLogCommand(const CommandLine& line);      // log [--clear]
int RunRobotCommand(const CommandLine& line);  // robot SOURCE... [--dest FILE] [--action NAME] ...

}  // namespace calvoro::cli
