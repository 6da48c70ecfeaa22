// The interactive session of calvoro-cli beside calculations: the words
// help, quit and exit, and what Tab completes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/calculator_model.h"

namespace calvoro::cli {

enum class SessionWord { kNone, kHelp, kQuit };
// help, quit or exit (case and blanks around ignored), or none.
SessionWord SessionWordOf(std::string_view line);

// The session's help: the functions, the parameters and memories with their
// values, and the commands.
std::string SessionHelp(const CalculatorModel& window);

// The words Tab completes: function names (with their "("), the parameters,
// the memories and pi.
std::vector<std::string> CompletionWords();

}  // namespace calvoro::cli
