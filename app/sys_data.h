// CSysData: every setting that survives a restart, and CSysDataManager, which
// reads and writes the whole record to SysData.dat in one go.
//
// The file: the header text, then the 34 fields in the order below. Texts are
// a length prefix and their bytes (one byte below 255; 0xFF and 16 bits below
// 0xFFFE; 0xFF, 0xFFFF and 32 bits otherwise), lists an int32 count and their
// elements, numbers little-endian. A default record is 250 bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/safe_file.h"
#include "engine/expr_engine.h"
#include "engine/number_base.h"

namespace calvoro {

// A converter shortcut or history item: three texts and a kind (always 1).
struct ConversionItem {
  std::string catalog;
  std::string value;  // a factor ("0.3048") or an expression tail ("*1.8+32")
  std::string description;
  std::int32_t kind = 1;

  bool operator==(const ConversionItem&) const = default;
};

// The calculator window a run opens; None opens none (the process ends at
// once).
enum class WindowStyle { None, Standard, Mini, Conversion, Complex };

// The file's codes of the window styles: 1 standard, 2 mini, 3 conversion,
// 4 none, 5 complex; any other code is read as the standard window.
WindowStyle WindowStyleOfCode(std::int32_t code);
std::int32_t CodeOfWindowStyle(WindowStyle style);

// The record. The parameters, Pi, precision, exponent threshold and angle
// unit are the engine's settings (inherited), so the engine reads the record
// itself and sees every change at once.
struct CSysData : EngineSettings {
  // paramF, paramK, paramM, paramW, paramPi: fields 1-5 (EngineSettings)
  double spareReal = 0.0123;
  std::int32_t windowOption1 = 1;
  std::int32_t windowOption2 = 0;
  std::int32_t windowOption3 = 1;
  std::vector<std::string> logLines;  // oldest first
  std::int32_t reserved1 = 0;
  std::int32_t reserved2 = 0;
  // angleRadian: field 13 (EngineSettings)
  // Flags are stored as int32 1/0; any other value is read as true.
  bool minimizeToTray = true;
  std::uint8_t spareByte1 = 10;
  std::uint8_t spareByte2 = 1;
  std::int32_t spareInt1 = 10;
  std::int32_t spareInt2 = 1;
  WindowStyle windowStyle = WindowStyle::Standard;
  bool freshStart = false;
  std::vector<ConversionItem> conversionItems;
  // precision, exponentThreshold: fields 22-23 (EngineSettings)
  bool addSingleConversionToHistory = false;
  bool showTips = true;
  std::string savedExpression;
  bool savedInputFlag = false;
  std::string savedInputText;
  std::int32_t tipIndex = 0;
  std::int32_t savedInputB = 0;
  std::int32_t savedInputC = 0;
  NumberBase numberBase = NumberBase::Decimal;
  std::int32_t spareInt3 = 0;
  bool tipOpen = false;

  bool operator==(const CSysData&) const = default;
};

// Bounds of the precision and the exponent threshold: refused beyond them in
// the dialogs and the CLI, clamped when a file is loaded.
inline constexpr int kMaxPrecision = 1000000;
inline constexpr int kMaxExponentThreshold = 1000000000;

// The header text that opens every settings file.
inline constexpr std::string_view kSysDataHeader = "SysData Manager - StoreObject";
inline constexpr std::string_view kSysDataFileName = "SysData.dat";

// Every field is bounded in bytes, so that the whole file stays under
// kMaxSettingsFileBytes whatever is stored. The log keeps its newest lines
// up to kMaxLogLines; older ones are dropped when a file is read or
// written. Conversion items beyond their count or bytes, or with a text
// over kMaxConversionTextBytes, are not read or written. So a record never
// needs much more memory than its file's bytes.
inline constexpr std::size_t kMaxSettingsFileBytes = std::size_t{64} << 20;
inline constexpr std::size_t kMaxLogLines = 100000;
inline constexpr std::size_t kMaxConversionItems = 10000;
// A parameter F, K, M or W, or Pi: an assignment of a longer value is
// refused; a longer one in a file gets its default with a warning.
inline constexpr std::size_t kMaxParameterBytes = std::size_t{2} << 20;
// The saved expression and input texts: a longer one is not saved (the
// field starts empty).
inline constexpr std::size_t kMaxSavedTextBytes = std::size_t{1} << 20;
inline constexpr std::size_t kMaxConversionTextBytes = std::size_t{64} << 10;
inline constexpr std::size_t kMaxConversionBytes = std::size_t{2} << 20;
// A log line keeps at most 64 KiB (`BoundLogLine`); the log as a whole
// what the file bound leaves after every other field at its bound (the
// numbers and flags take well under 1 KiB); the oldest lines go first.
inline constexpr std::size_t kMaxLogLineBytes = 64 * 1024;
inline constexpr std::size_t kMaxLogBytes = kMaxSettingsFileBytes - 5 * (kMaxParameterBytes + 7) -
                                            2 * (kMaxSavedTextBytes + 7) - kMaxConversionBytes -
                                            4096;
// What a line costs in the file: its bytes and their length prefix.
inline std::size_t LogLineFileBytes(const std::string& line) { return line.size() + 7; }

// A log line cut to kMaxLogLineBytes. A long number result keeps its first
// digits, the count of digits left out and its exponent, as
// "1.2345...[8450970 digits left out]E+8450979": the mark "...[" makes the
// text no number, so nothing takes it for the whole value. Anything else
// long keeps its beginning and "...[N bytes left out]".
void BoundLogLine(std::string& line);
// Drops the oldest lines of `lines` until they fit the log's bounds.
void BoundLog(std::vector<std::string>& lines);

// The file bytes of a record, and the record read from bytes. `Decode`
// assigns each field as it is read and returns false when the bytes end early,
// hold a bad value or go on after the last field (a length or a count that
// does not fit the file); a foreign header leaves the record untouched.
std::string EncodeSysData(const CSysData& data);
bool DecodeSysData(std::string_view bytes, CSysData& data);
// The record's fields without its log.
CSysData WithoutLog(const CSysData& record);

// What the settings file is to this program.
enum class SettingsFileState {
  kUsable,        // a settings record (perhaps damaged), an empty file or none yet
  kForeign,       // a file whose header is not ours: never overwritten
  kNotRegular,    // a folder, a FIFO, a device: never read or written
  kDamaged,       // our header, but the rest does not decode whole: never
                  // overwritten except by `Repair`
  kUnsafeFolder,  // in a settings folder of another user or that others may
                  // write to: never read or written
  kUnsafeFile,    // a file or a link of another user, or in a folder where
                  // anyone may replace it (`SettingsFileProblem`): never
                  // read or written
};

// Owns the record and its file. Several processes may share the file: a
// save takes the lock beside it, reads it again, applies this process's
// changes since its last load or save (its new log lines appended, lines it
// removed removed, every field it changed set; every other field as the file
// holds it), writes it through a temporary file renamed over it, and unlocks.
class CSysDataManager {
 public:
  // Default record; the file is SysData.dat in the settings folder
  // (`SettingsFolder`).
  CSysDataManager();
  explicit CSysDataManager(std::string file_path);

  // False when the file is not a settings record or is damaged (the record
  // then holds what was read before the damage); a file that cannot be
  // opened leaves the record as it is and counts as read.
  bool Load();
  // Saves this process's changes as above. Afterwards the record's log is
  // the file's (with other processes' lines); its other fields stay this
  // process's own. Only a regular file holding a settings record, an empty
  // file or a new name is written. False when nothing was written
  // (`saveError` tells why).
  bool Save();
  // Writes `record` as it stands (under the lock, through a temporary
  // file); never over a foreign or damaged file.
  bool Save(const CSysData& record);
  // A damaged file: keeps what decodes of it, moves the original aside as
  // "<file>.damaged-YYYYMMDD-HHMMSS" and writes what was kept. The name
  // the original went to is in `repairedAside`.
  bool Repair();
  std::string repairedAside;
  // Writes the log lines not in the file to "<file>.pending-PID" beside it
  // (created exclusively, mode 0600), for a run that ends without the lock:
  // the next save of any process merges them into the file and removes it.
  // The path written, or empty (`saveError` tells why).
  std::string SavePending();
  // How long a save waits for the lock.
  std::chrono::milliseconds lockTimeout = std::chrono::seconds(10);
  // Whether the last save failed for the lock another process holds.
  bool lockHeld() const { return lockHeld_; }
  // What was wrong in the file when it was loaded and set right in the
  // record ("the parameter F ... is not a number: 1 is used").
  const std::vector<std::string>& warnings() const { return warnings_; }

  // Takes over `other`'s record and file as they stand, its log moved
  // rather than copied (`other` keeps an empty log, and so writes none).
  void Adopt(CSysDataManager& other);

  SettingsFileState fileState() const { return state_; }
  // Why the file is kUnsafeFile ("it belongs to another user").
  const std::string& fileProblem() const { return fileProblem_; }
  // Why the last save failed ("No space left on device"); empty after a
  // success.
  const std::string& saveError() const { return saveError_; }
  // The record's log lines that the file does not hold yet.
  std::size_t unsavedLogLines() const;

  CSysData data;
  std::string filePath;

 private:
  struct Opened;
  // The opening steps of every save: the target (links followed), the lock
  // taken, stale temporaries removed; nullopt after setting `saveError_`.
  std::optional<Opened> Open();
  bool Write(const CSysData& record, const std::string& target, FileStamp& written);
  bool Fail(std::string why);

  CSysData file_;    // the record as the file held it at the last load or save
  CSysData fields_;  // this process's fields then (without the log)
  FileStamp stamp_;  // the file then, to see whether another process wrote it since
  SettingsFileState state_ = SettingsFileState::kUsable;
  std::string saveError_;
  std::string fileProblem_;
  std::vector<std::string> warnings_;
  bool lockHeld_ = false;
};

// The folder of SysData.dat, the same for the windows and the CLI:
// $XDG_CONFIG_HOME/calvoro (default ~/.config/calvoro), created when missing;
// but the program's folder when a SysData.dat is already there (portable
// use). Ends in "/".
std::string SettingsFolder(const std::string& program_folder);
// The folder "calvoro" in a per-user base folder: $`xdg_variable` when it
// holds an absolute path, else `home_fallback` in the home folder
// ($XDG_CONFIG_HOME, ".config"). Missing folders are created (mode 0700).
// Ends in "/"; empty when no home folder is known. An existing folder of
// another user, or one that others may write to, is not safe: its problem
// is remembered for `UnsafeFolderProblem`.
std::string UserFolder(const char* xdg_variable, std::string_view home_fallback);
// Why a settings file, wherever it is (a default folder, beside the program
// or given by the user), must not be used, or "": a symbolic link on the
// way to it that belongs to another user, a regular file of another user,
// or a folder of it or of its link that anyone may write to without the
// sticky bit (anyone could replace it there). The user's own and root's
// links, files and folders are used as they are.
std::string SettingsFileProblem(const std::string& path);
// Why a folder that `UserFolder` returned must not be used ("it belongs to
// another user", "others may write to it"), or "".
std::string UnsafeFolderProblem(const std::string& folder);
// The folder of the running program, ending in "/".
std::string ProgramFolder();
// The help document in the program's folder, opened by every Help button.
inline constexpr std::string_view kHelpFileName = "calvoro.chm";

}  // namespace calvoro
