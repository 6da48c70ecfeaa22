// Line input of the terminal session: editline (prompt, editing, history)
// when a person types at a terminal, plain lines otherwise.
#include "cli/line_reader.h"

#include <cstdlib>
#include <iostream>

#ifdef CALVORO_EDITLINE
#include <editline/readline.h>
#endif

namespace calvoro {

bool LineReader::Read(std::string& line) {
#ifdef CALVORO_EDITLINE
  if (interactive_) {
    char* text = readline("> ");
    if (text == nullptr) {
      std::cout << '\n';  // end the prompt's line at Ctrl+D
      return false;
    }
    line = text;
    if (*text != '\0') add_history(text);
    std::free(text);
    return true;
  }
#else
  if (interactive_) std::cout << "> " << std::flush;
#endif
  return static_cast<bool>(std::getline(std::cin, line));
}

}  // namespace calvoro
