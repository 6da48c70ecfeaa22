// The interactive session's words and help.
#include "cli/session.h"

#include <algorithm>

#include "engine/expression_text.h"

namespace calvoro::cli {
namespace {

constexpr char kParameterNames[] = {'F', 'K', 'M', 'W'};

// A value for a line of the help: long ones keep their beginning and say
// how long they are.
std::string Shown(std::string_view value) {
  constexpr std::size_t kShown = 40;
  if (value.size() <= kShown) return std::string(value);
  return std::string(value.substr(0, kShown)) + "...(" + std::to_string(value.size()) +
         " characters)";
}

std::vector<std::string_view> SortedFunctionNames() {
  std::vector<std::string_view> names(kFunctionNames.begin(), kFunctionNames.end());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

SessionWord SessionWordOf(std::string_view line) {
  const std::string word = ToLowerAscii(TrimBlanks(line));
  if (word == "help") return SessionWord::kHelp;
  if (word == "quit" || word == "exit") return SessionWord::kQuit;
  return SessionWord::kNone;
}

std::string SessionHelp(const CalculatorModel& window) {
  std::string help =
      "Type an expression such as 5pi+78(34.5+89.6), an assignment such as (M)=2+3\n"
      "or a linear equation in X such as 2x+3=7, then Enter. Blanks are ignored;\n"
      "Tab completes the names below; Up and Down recall earlier inputs.\n"
      "Functions, written name(argument) such as sqrt(2):\n ";
  std::size_t column = 1;
  for (const std::string_view name : SortedFunctionNames()) {
    if (column + 1 + name.size() > 79) {
      help += "\n ";
      column = 1;
    }
    help.append(" ").append(name);
    column += 1 + name.size();
  }
  const CSysData& d = window.data();
  const std::string* const values[] = {&d.paramF, &d.paramK, &d.paramM, &d.paramW};
  help += "\nParameters (set with (F)=expression and the like):\n";
  for (std::size_t i = 0; i < std::size(kParameterNames); ++i)
    help.append("  ")
        .append(1, kParameterNames[i])
        .append("=")
        .append(Shown(*values[i]))
        .append("\n");
  help.append("  Pi=").append(Shown(d.paramPi)).append("\n");
  help += "Memories (the latest results, last1 the newest):\n";
  for (std::size_t i = 0; i < window.memories().size(); ++i) {
    help.append("  last").append(std::to_string(i + 1)).append("=");
    help.append(Shown(window.memories()[i])).append("\n");
  }
  help += "Commands: help (this list); quit or exit (or Ctrl+D) ends the session.\n";
  return help;
}

std::vector<std::string> CompletionWords() {
  std::vector<std::string> words;
  for (const std::string_view name : SortedFunctionNames())
    words.push_back(std::string(name) + "(");
  for (const char letter : kParameterNames) words.emplace_back(1, static_cast<char>(letter | 0x20));
  for (const std::string_view memory : kMemoryWords) words.emplace_back(memory);
  words.emplace_back("pi");
  return words;
}

}  // namespace calvoro::cli
