// calvoro-cli log: the log of the settings file, newest first; --clear
// empties it.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "app/sys_data.h"
#include "cli/settings_file.h"
#include "cli/subcommands.h"

namespace calvoro::cli {

int RunLogCommand(Arguments args) {
  bool clear = false;
  std::optional<std::string> path;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--clear") {
      clear = true;
    } else if (arg == "--settings" && i + 1 < args.size()) {
      path = args[++i];
    } else {
      std::cerr << "usage: calvoro-cli log [--clear] [--settings FILE]\n";
      return 2;
    }
  }
  CSysDataManager manager = path ? CSysDataManager(*path) : CSysDataManager();
  manager.Load();
  if (const auto refused = RefuseUnwritableSettings(manager)) return *refused;
  if (!clear) {
    for (auto line = manager.data.logLines.rbegin(); line != manager.data.logLines.rend(); ++line)
      std::cout << *line << '\n';
    return 0;
  }
  manager.data.logLines.clear();
  if (manager.Save() != kFileDone) {
    ReportSaveFailed(manager.filePath, manager.saveError(), "the log is not cleared");
    return 1;
  }
  return 0;
}

}  // namespace calvoro::cli
