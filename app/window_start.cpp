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

std::optional<Refusal> SettingsFileRefusal(const CSysDataManager& settings) {
  const std::string& path = settings.filePath;
  switch (settings.fileState()) {
    case SettingsFileState::kForeign:
      return Refusal{RefusalId::kSettingsForeign, {path}};
    case SettingsFileState::kNotRegular:
      return Refusal{RefusalId::kSettingsNotRegular, {path}};
    case SettingsFileState::kDamaged:
      return Refusal{RefusalId::kSettingsDamaged, {path}};
    case SettingsFileState::kUnsafeFolder:
      return Refusal{RefusalId::kSettingsUnsafeFolder,
                     {FolderOf(path), UnsafeFolderProblem(FolderOf(path))}};
    case SettingsFileState::kUnsafeFile:
      return Refusal{RefusalId::kSettingsUnsafeFile, {path, settings.fileProblem()}};
    case SettingsFileState::kUsable:
      break;
  }
  return std::nullopt;
}

std::string UnwritableSettingsText(const CSysDataManager& settings) {
  const std::optional<Refusal> refusal = SettingsFileRefusal(settings);
  return refusal ? DescribeRefusal(*refusal).text : std::string();
}

}  // namespace calvoro
