// Line input of the terminal session: editline (prompt, editing, history
// kept in a file, Tab completion) when a person types at a terminal, plain
// lines otherwise.
#include "cli/line_reader.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "engine/expression_text.h"

#ifdef CALVORO_EDITLINE
#include <editline/readline.h>
#endif

namespace calvoro {
namespace {

#ifdef CALVORO_EDITLINE
// The words Tab completes, and the word being completed split into what
// stands before its name (the digits of "2sq") and the name in lower case.
std::vector<std::string> completion_words;
std::string completed_lead;
std::string completed_name;

char* NextMatch(const char* text, int state) {
  static std::size_t next = 0;
  if (state == 0) {
    next = 0;
    const std::string_view word = text;
    std::size_t letter = 0;
    while (letter < word.size() && !std::isalpha(static_cast<unsigned char>(word[letter])))
      ++letter;
    completed_lead = std::string(word.substr(0, letter));
    completed_name = ToLowerAscii(word.substr(letter));
  }
  while (next < completion_words.size()) {
    const std::string& candidate = completion_words[next++];
    if (candidate.starts_with(completed_name)) return strdup((completed_lead + candidate).c_str());
  }
  return nullptr;
}

char** Complete(const char* text, int, int) {
  rl_attempted_completion_over = 1;  // names only, never file names
  return rl_completion_matches(text, NextMatch);
}

// Names end at operators, brackets and blanks.
char kWordBreaks[] = " \t\n+-*/^()=,";
#endif

}  // namespace

LineReader::LineReader(bool interactive, std::vector<std::string> completions)
    : interactive_(interactive) {
#ifdef CALVORO_EDITLINE
  if (!interactive_) return;
  completion_words = std::move(completions);
  rl_readline_name = "calvoro-cli";
  rl_attempted_completion_function = Complete;
  rl_basic_word_break_characters = kWordBreaks;
  rl_completer_word_break_characters = kWordBreaks;
  rl_completion_append_character = '\0';
  using_history();
  stifle_history(static_cast<int>(cli::kMaxHistoryLines));
  history_.emplace();
  for (const std::string& line : history_->Load()) {
    add_history(line.c_str());
    last_ = line;
  }
#else
  (void)completions;
#endif
}

bool LineReader::Read(std::string& line) {
#ifdef CALVORO_EDITLINE
  if (interactive_) {
    char* text = readline("> ");
    if (text == nullptr) {
      std::cout << '\n';  // end the prompt's line at Ctrl+D
      return false;
    }
    line = text;
    std::free(text);
    if (!line.empty() && line != last_) {
      add_history(line.c_str());
      history_->Add(line);
      last_ = line;
    }
    return true;
  }
#else
  if (interactive_) std::cout << "> " << std::flush;
#endif
  return static_cast<bool>(std::getline(std::cin, line));
}

}  // namespace calvoro
