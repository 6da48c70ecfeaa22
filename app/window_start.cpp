#include "app/window_start.h"

#include <cctype>

namespace calvoro {

bool InitialiseShellRecord(CSysData& record) {
  record.tipOpen = false;
  if (!record.freshStart) return false;
  record.freshStart = false;
  return record.showTips;
}

bool InitialiseShellRecord(CSysDataManager& settings, MessageSink& sink) {
  const bool stale_tip = settings.data.tipOpen;
  const bool open_tips = InitialiseShellRecord(settings.data);
  if (const std::string text = UnwritableSettingsText(settings); !text.empty()) {
    sink.MessageBox(text +
                        " It is left as it is; the settings and the log of this session are "
                        "kept in memory only.",
                    kCaptionCalvoroWarning, MessageIcon::Warning);
  } else if (stale_tip) {
    settings.Save();
  }
  for (std::string warning : settings.warnings()) {
    warning[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(warning[0])));
    sink.MessageBox(warning + ".", kCaptionCalvoroWarning, MessageIcon::Warning);
  }
  return open_tips;
}

std::string UnwritableSettingsText(const CSysDataManager& settings) {
  switch (settings.fileState()) {
    case SettingsFileState::kForeign:
      return "The settings file " + settings.filePath + " is not a Calvoro settings file.";
    case SettingsFileState::kNotRegular:
      return "The settings file " + settings.filePath + " is not a regular file.";
    case SettingsFileState::kDamaged:
      return "The settings file " + settings.filePath +
             " is damaged. 'calvoro-cli log --repair' keeps what can be read of it and moves the "
             "original aside.";
    case SettingsFileState::kUnsafeFolder:
      return "The settings folder " + FolderOf(settings.filePath) + " is not safe to use (" +
             UnsafeFolderProblem(FolderOf(settings.filePath)) + ").";
    case SettingsFileState::kUnsafeFile:
      return "The settings file " + settings.filePath + " is not safe to use (" +
             settings.fileProblem() + ").";
    case SettingsFileState::kUsable:
      break;
  }
  return {};
}

}  // namespace calvoro
