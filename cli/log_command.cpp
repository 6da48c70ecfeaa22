// calvoro-cli log: the log of the settings file, newest first; --clear
// empties it.
#include <iostream>
#include <optional>
#include <string>

#include "app/sys_data.h"
#include "cli/settings_file.h"
#include "cli/subcommands.h"

namespace calvoro::cli {

int RunLogCommand(const CommandLine& line) {
  if (!line.operands.empty()) return UsageError(line.command, "log takes no arguments");
  const bool clear = line.Has("clear");
  const std::optional<std::string> path = line.Value("settings");
  CSysDataManager manager = path ? CSysDataManager(*path) : CSysDataManager();
  manager.Load();
  if (const auto refused = RefuseUnwritableSettings(manager)) return *refused;
  if (!clear) {
    for (auto line = manager.data.logLines.rbegin(); line != manager.data.logLines.rend(); ++line)
      std::cout << *line << '\n';
    return 0;
  }
  manager.data.logLines.clear();
  if (!manager.Save()) {
    ReportSaveFailed(manager.filePath, manager.saveError(), "the log is not cleared");
    return 1;
  }
  return 0;
}

}  // namespace calvoro::cli
