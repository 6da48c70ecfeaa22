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
  if (clear && line.Has("repair"))
    return UsageError(line.command, "--clear and --repair exclude each other");
  const std::optional<std::string> path = line.Value("settings");
  CSysDataManager manager = path ? CSysDataManager(*path) : CSysDataManager();
  manager.Load();
  if (line.Has("repair")) {
    if (manager.fileState() != SettingsFileState::kDamaged) {
      std::cerr << "calvoro-cli: the settings file " << manager.filePath
                << " is not damaged; it is left as it is.\n";
      return manager.fileState() == SettingsFileState::kUsable ? 0 : 2;
    }
    if (!manager.Repair()) {
      ReportSaveFailed(manager.filePath, manager.saveError(), "it is not repaired");
      return 1;
    }
    std::cerr << "calvoro-cli: the settings file " << manager.filePath << " keeps "
              << manager.data.logLines.size() << " log lines; the damaged file is now "
              << manager.repairedAside << "\n";
    return 0;
  }
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
