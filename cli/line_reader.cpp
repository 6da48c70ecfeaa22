// Line input of the terminal session. Editline is loaded only when a person
// types at a terminal, so that a one-shot or piped calculation does not pay
// for loading it and the libraries it pulls in.
#include "cli/line_reader.h"

#include <dlfcn.h>

#include <cstdlib>
#include <iostream>

namespace calvoro {
namespace {

struct Editline {
  char* (*readline)(const char*) = nullptr;
  int (*add_history)(const char*) = nullptr;
};

// The editline functions, or none when the library is not installed.
const Editline* LoadEditline() {
  static const Editline* loaded = []() -> const Editline* {
#ifdef CALVORO_EDITLINE_LIBRARY
    void* library = dlopen(CALVORO_EDITLINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return nullptr;
    static Editline functions;
    functions.readline = reinterpret_cast<char* (*)(const char*)>(dlsym(library, "readline"));
    functions.add_history = reinterpret_cast<int (*)(const char*)>(dlsym(library, "add_history"));
    if (functions.readline == nullptr || functions.add_history == nullptr) return nullptr;
    return &functions;
#else
    return nullptr;
#endif
  }();
  return loaded;
}

}  // namespace

bool LineReader::Read(std::string& line) {
  if (!interactive_) return static_cast<bool>(std::getline(std::cin, line));
  if (const Editline* editline = LoadEditline()) {
    char* text = editline->readline("> ");
    if (text == nullptr) {
      std::cout << '\n';  // end the prompt's line at Ctrl+D
      return false;
    }
    line = text;
    if (*text != '\0') editline->add_history(text);
    std::free(text);
    return true;
  }
  std::cout << "> " << std::flush;
  return static_cast<bool>(std::getline(std::cin, line));
}

}  // namespace calvoro
