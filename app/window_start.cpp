#include "app/window_start.h"

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
    sink.MessageBox(text + " It is left as it is; the settings and the log of this session are "
                           "kept in memory only.",
                    kCaptionCalvoroWarning, MessageIcon::Warning);
  } else if (stale_tip) {
    settings.Save();
  }
  return open_tips;
}

std::string UnwritableSettingsText(const CSysDataManager& settings) {
  switch (settings.fileState()) {
    case SettingsFileState::kForeign:
      return "The settings file " + settings.filePath + " is not a Calvoro settings file.";
    case SettingsFileState::kNotRegular:
      return "The settings file " + settings.filePath + " is not a regular file.";
    case SettingsFileState::kUsable:
      break;
  }
  return {};
}

}  // namespace calvoro
