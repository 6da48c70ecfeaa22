// Line input of the terminal session.
#include "cli/line_reader.h"

#include <cstdlib>
#include <iostream>

#ifdef CALVORO_HAVE_EDITLINE
#include <editline/readline.h>
#endif

namespace calvoro {

bool LineReader::Read(std::string& line) {
  if (!interactive_) return static_cast<bool>(std::getline(std::cin, line));
#ifdef CALVORO_HAVE_EDITLINE
  char* text = readline("> ");
  if (text == nullptr) {
    std::cout << '\n';  // end the prompt's line at Ctrl+D
    return false;
  }
  line = text;
  if (*text != '\0') add_history(text);
  std::free(text);
  return true;
#else
  std::cout << "> " << std::flush;
  return static_cast<bool>(std::getline(std::cin, line));
#endif
}

}  // namespace calvoro
