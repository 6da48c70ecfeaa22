// SysData.dat: encoding, decoding, saving with several writers, and the
// settings folder.
#include "app/sys_data.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <type_traits>

#include "numeric/number_text.h"

namespace calvoro {
namespace {

// How long a save waits for another process's save to end.
constexpr auto kLockTimeout = std::chrono::seconds(10);

// Encodes the record into a string, or straight into a file through its
// buffer, so that saving a log of many megabytes needs no copy of it.
class Writer {
 public:
  Writer() = default;
  explicit Writer(FdWriter& file) : file_(&file) {}

  void Byte(std::uint8_t value) {
    const char c = static_cast<char>(value);
    Put(std::string_view(&c, 1));
  }
  void Uint(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) Byte(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void Int32(std::int32_t value) { Uint(static_cast<std::uint32_t>(value), 4); }
  void Double(double value) { Uint(std::bit_cast<std::uint64_t>(value), 8); }
  void Text(std::string_view text) {
    const std::size_t length = text.size();
    if (length < 0xFF) {
      Byte(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
      Byte(0xFF);
      Uint(length, 2);
    } else {
      Byte(0xFF);
      Uint(0xFFFF, 2);
      Uint(length, 4);
    }
    Put(text);
  }
  std::string Take() { return std::move(out_); }

 private:
  void Put(std::string_view bytes) {
    if (file_ != nullptr) {
      file_->Write(bytes);
    } else {
      out_.append(bytes);
    }
  }

  FdWriter* file_ = nullptr;
  std::string out_;
};

// Reads from a byte buffer; every read checks what is left, so a damaged
// length or count can never make it read or allocate past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool Uint(std::uint64_t& value, int bytes) {
    if (bytes_.size() - pos_ < static_cast<std::size_t>(bytes)) return false;
    value = 0;
    for (int i = 0; i < bytes; ++i)
      value |= std::uint64_t{static_cast<std::uint8_t>(bytes_[pos_ + i])} << (8 * i);
    pos_ += bytes;
    return true;
  }
  bool Byte(std::uint8_t& value) {
    std::uint64_t v;
    if (!Uint(v, 1)) return false;
    value = static_cast<std::uint8_t>(v);
    return true;
  }
  bool Int32(std::int32_t& value) {
    std::uint64_t v;
    if (!Uint(v, 4)) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
  }
  bool Double(double& value) {
    std::uint64_t v;
    if (!Uint(v, 8)) return false;
    value = std::bit_cast<double>(v);
    return true;
  }
  // A text's bytes, left in the buffer.
  bool TextView(std::string_view& text) {
    std::uint64_t length;
    if (!Uint(length, 1)) return false;
    if (length == 0xFF) {
      if (!Uint(length, 2)) return false;
      if (length == 0xFFFF && !Uint(length, 4)) return false;
    }
    if (length > bytes_.size() - pos_) return false;
    text = bytes_.substr(pos_, length);
    pos_ += length;
    return true;
  }
  bool Text(std::string& text) {
    std::string_view view;
    if (!TextView(view)) return false;
    text.assign(view);
    return true;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

void WriteItem(Writer& out, const ConversionItem& item) {
  out.Text(item.catalog);
  out.Text(item.value);
  out.Text(item.description);
  out.Int32(item.kind);
}

bool ReadItem(Reader& in, ConversionItem& item) {
  return in.Text(item.catalog) && in.Text(item.value) && in.Text(item.description) &&
         in.Int32(item.kind);
}

bool SkipItem(Reader& in) {
  std::string_view text;
  std::int32_t kind;
  return in.TextView(text) && in.TextView(text) && in.TextView(text) && in.Int32(kind);
}

bool ReadLine(Reader& in, std::string& line) { return in.Text(line); }

bool SkipLine(Reader& in) {
  std::string_view text;
  return in.TextView(text);
}

// A list: an int32 count, then the elements, read one by one (a count
// larger than the file stops at the end of the bytes). Beyond `max`
// elements the oldest (`keep_last`) or the last ones are passed over.
template <typename T, typename ReadOne, typename SkipOne>
bool ReadList(Reader& in, std::vector<T>& list, std::size_t max, bool keep_last,
              ReadOne read_one, SkipOne skip_one) {
  std::int32_t count;
  if (!in.Int32(count) || count < 0) return false;
  list.clear();
  const std::size_t all = static_cast<std::size_t>(count);
  const std::size_t skipped = all > max ? all - max : 0;
  for (std::size_t i = 0; i < all; ++i) {
    const bool skip = keep_last ? i < skipped : i >= max;
    if (skip) {
      if (!skip_one(in)) return false;
      continue;
    }
    T element{};
    if (!read_one(in, element)) return false;
    list.push_back(std::move(element));
  }
  return true;
}

// The fields of the file in their order, after the header:
// visit(&CSysData::field) for each, visit(&CSysData::field, max) for a
// number kept within 0..max when it is read, and visit(&CSysData::field,
// fallback) for a parameter that is read as `fallback` when it holds no
// decimal number. Reading, writing, copying and
// merging all go through this one list. Stops at the first visit that
// returns false.
template <typename Visit>
bool VisitFields(Visit&& visit) {
  const std::string_view one = "1";
  return visit(&CSysData::paramF, one) && visit(&CSysData::paramK, one) &&
         visit(&CSysData::paramM, one) && visit(&CSysData::paramW, one) &&
         visit(&CSysData::paramPi, kPiText) && visit(&CSysData::spareReal) &&
         visit(&CSysData::windowOption1) && visit(&CSysData::windowOption2) &&
         visit(&CSysData::windowOption3) && visit(&CSysData::logLines) &&
         visit(&CSysData::reserved1) && visit(&CSysData::reserved2) &&
         visit(&CSysData::angleRadian) && visit(&CSysData::minimizeToTray) &&
         visit(&CSysData::spareByte1) && visit(&CSysData::spareByte2) &&
         visit(&CSysData::spareInt1) && visit(&CSysData::spareInt2) &&
         visit(&CSysData::windowStyle) && visit(&CSysData::freshStart) &&
         visit(&CSysData::conversionItems) && visit(&CSysData::precision, kMaxPrecision) &&
         visit(&CSysData::exponentThreshold, kMaxExponentThreshold) &&
         visit(&CSysData::addSingleConversionToHistory) && visit(&CSysData::showTips) &&
         visit(&CSysData::savedExpression) && visit(&CSysData::savedInputFlag) &&
         visit(&CSysData::savedInputText) && visit(&CSysData::tipIndex) &&
         visit(&CSysData::savedInputB) && visit(&CSysData::savedInputC) &&
         visit(&CSysData::numberBase) && visit(&CSysData::spareInt3) && visit(&CSysData::tipOpen);
}

// Every field but the log, as a member pointer.
template <typename Visit>
void VisitFieldsButLog(Visit&& visit) {
  VisitFields([&](auto member, auto...) {
    if constexpr (!std::is_same_v<decltype(member), decltype(&CSysData::logLines)>) visit(member);
    return true;
  });
}

// One field's bytes: texts, numbers, lists, and the int32 codes of the
// flags (1/0), the window style and the number base.
void WriteField(Writer& out, const std::string& text) { out.Text(text); }
void WriteField(Writer& out, double value) { out.Double(value); }
void WriteField(Writer& out, std::int32_t value) { out.Int32(value); }
void WriteField(Writer& out, std::uint8_t value) { out.Byte(value); }
void WriteField(Writer& out, bool flag) { out.Int32(flag ? 1 : 0); }
void WriteField(Writer& out, WindowStyle style) { out.Int32(CodeOfWindowStyle(style)); }
void WriteField(Writer& out, NumberBase base) {
  out.Int32(base == NumberBase::Mix ? 100 : RadixOf(base));
}
void WriteField(Writer& out, const std::vector<std::string>& lines) {
  out.Int32(static_cast<std::int32_t>(lines.size()));
  for (const auto& line : lines) out.Text(line);
}
void WriteField(Writer& out, const std::vector<ConversionItem>& items) {
  out.Int32(static_cast<std::int32_t>(items.size()));
  for (const auto& item : items) WriteItem(out, item);
}

bool ReadField(Reader& in, std::string& text) { return in.Text(text); }
bool ReadField(Reader& in, std::string& parameter, std::string_view fallback) {
  if (!in.Text(parameter)) return false;
  // An empty parameter is refused where it is used.
  if (!parameter.empty() &&
      !IsNumber(parameter, 10, {.plus = true, .brackets = true, .blanks = true}))
    parameter = fallback;
  return true;
}
bool ReadField(Reader& in, double& value) { return in.Double(value); }
bool ReadField(Reader& in, std::int32_t& value) { return in.Int32(value); }
bool ReadField(Reader& in, std::uint8_t& value) { return in.Byte(value); }
bool ReadField(Reader& in, bool& flag) {
  std::int32_t value;
  if (!in.Int32(value)) return false;
  flag = value != 0;
  return true;
}
bool ReadField(Reader& in, WindowStyle& style) {
  std::int32_t code;
  if (!in.Int32(code)) return false;
  style = WindowStyleOfCode(code);
  return true;
}
bool ReadField(Reader& in, std::int32_t& value, int max) {
  if (!in.Int32(value)) return false;
  value = std::clamp(value, 0, max);
  return true;
}
// The file's codes of the number bases: 2, 8, 10, 16 and 100 for Mix; any
// other code is read as decimal.
bool ReadField(Reader& in, NumberBase& base) {
  std::int32_t code;
  if (!in.Int32(code)) return false;
  base = code == 100 ? NumberBase::Mix : BaseOfRadix(code);
  return true;
}
bool ReadField(Reader& in, std::vector<std::string>& lines) {
  return ReadList(in, lines, kMaxLogLines, true, ReadLine, SkipLine);
}
bool ReadField(Reader& in, std::vector<ConversionItem>& items) {
  return ReadList(in, items, kMaxConversionItems, false, ReadItem, SkipItem);
}

bool ReadFields(Reader& in, CSysData& d) {
  return VisitFields([&](auto member, auto... max) { return ReadField(in, d.*member, max...); });
}

void EncodeFields(const CSysData& d, Writer& out) {
  out.Text(kSysDataHeader);
  VisitFields([&](auto member, auto...) {
    WriteField(out, d.*member);
    return true;
  });
}

// Compares as floating point does, except that a NaN equals itself: a stored
// NaN must not count as a change.
template <typename T>
bool SameValue(const T& a, const T& b) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b) || a == b;
  } else {
    return a == b;
  }
}

// The log `current` against `base`, the log as it was: the lines of `base`
// kept in order, those removed, and the lines appended after them. Returns
// the index in `current` of the first appended line and fills `removed`.
std::size_t DiffLog(const std::vector<std::string>& base, const std::vector<std::string>& current,
                    std::vector<bool>* removed) {
  if (current.size() >= base.size() && std::equal(base.begin(), base.end(), current.begin()))
    return base.size();
  std::size_t j = 0;
  for (std::size_t i = 0; i < base.size(); ++i) {
    if (j < current.size() && current[j] == base[i]) {
      ++j;
    } else if (removed != nullptr) {
      (*removed)[i] = true;
    }
  }
  return j;
}

// Applies the change from `base` to `current` to the log `file` (the log as
// the file holds it now): the removed lines go where they still are, the
// appended lines follow every line already there; the oldest beyond the
// bound are dropped.
void MergeLog(const std::vector<std::string>& base, const std::vector<std::string>& current,
              std::vector<std::string>& file) {
  std::vector<bool> removed(base.size());
  const std::size_t appended = DiffLog(base, current, &removed);
  if (std::find(removed.begin(), removed.end(), true) != removed.end()) {
    // The file holds the base's lines in order, perhaps fewer (another
    // process removed some), then other processes' new lines.
    std::vector<bool> drop(file.size());
    std::size_t p = 0;
    for (std::size_t i = 0; i < base.size() && p < file.size(); ++i) {
      if (file[p] != base[i]) continue;  // already gone from the file
      drop[p++] = removed[i];
    }
    std::size_t kept = 0;
    for (std::size_t k = 0; k < file.size(); ++k) {
      if (drop[k]) continue;
      if (kept != k) file[kept] = std::move(file[k]);
      ++kept;
    }
    file.resize(kept);
  }
  file.insert(file.end(), current.begin() + static_cast<std::ptrdiff_t>(appended), current.end());
  if (file.size() > kMaxLogLines)
    file.erase(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() - kMaxLogLines));
}

// Whether bytes may be a settings file: nothing at all, our header (the
// rest perhaps damaged), or the beginning of our header (a file cut short).
bool HoldsSettingsRecord(std::string_view bytes) {
  Reader in(bytes);
  std::string_view header;
  if (in.TextView(header)) return header == kSysDataHeader;
  std::string expected(1, static_cast<char>(kSysDataHeader.size()));
  expected.append(kSysDataHeader);
  return std::string_view(expected).starts_with(bytes);
}

// mkdir -p for a folder path ending in "/"; new folders are private to the
// user, as the XDG base directories are.
bool MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

constexpr std::string_view kNotRegularText = "it is not a regular file";
constexpr std::string_view kForeignText = "it is not a Calvoro settings file";

}  // namespace

WindowStyle WindowStyleOfCode(std::int32_t code) {
  switch (code) {
    case 2:
      return WindowStyle::Mini;
    case 3:
      return WindowStyle::Conversion;
    case 4:
      return WindowStyle::None;
    case 5:
      return WindowStyle::Complex;
    default:
      return WindowStyle::Standard;
  }
}

std::int32_t CodeOfWindowStyle(WindowStyle style) {
  switch (style) {
    case WindowStyle::Mini:
      return 2;
    case WindowStyle::Conversion:
      return 3;
    case WindowStyle::None:
      return 4;
    case WindowStyle::Complex:
      return 5;
    case WindowStyle::Standard:
      break;
  }
  return 1;
}

CSysData WithoutLog(const CSysData& record) {
  CSysData fields;
  VisitFieldsButLog([&](auto member) { fields.*member = record.*member; });
  return fields;
}

std::string EncodeSysData(const CSysData& d) {
  Writer out;
  EncodeFields(d, out);
  return out.Take();
}

bool DecodeSysData(std::string_view bytes, CSysData& data) {
  Reader in(bytes);
  std::string header;
  if (!in.Text(header)) return false;
  if (header != kSysDataHeader) return false;
  if (in.AtEnd()) return false;  // nothing after the header: keep the record
  return ReadFields(in, data);
}

CSysDataManager::CSysDataManager()
    : filePath(SettingsFolder(ProgramFolder()) + std::string(kSysDataFileName)) {}

CSysDataManager::CSysDataManager(std::string file_path) : filePath(std::move(file_path)) {}

bool CSysDataManager::Load() {
  std::string bytes;
  FileStamp stamp;
  const ReadStatus status = ReadRegularFile(filePath, bytes, &stamp);
  if (status == ReadStatus::kNotRegular) {
    state_ = SettingsFileState::kNotRegular;
    return true;
  }
  if (status == ReadStatus::kFailed) return true;  // could not be opened: the record stays
  if (!HoldsSettingsRecord(bytes)) {
    state_ = SettingsFileState::kForeign;
    return false;
  }
  state_ = SettingsFileState::kUsable;
  const bool read = status == ReadStatus::kMissing || DecodeSysData(bytes, data);
  file_ = data;
  fields_ = WithoutLog(data);
  stamp_ = stamp;
  return read;
}

bool CSysDataManager::Save() {
  saveError_.clear();
  const auto fail = [this](std::string why) {
    saveError_ = std::move(why);
    return false;
  };
  const std::optional<ResolvedPath> target = ResolvePath(filePath);
  if (!target) return fail(ErrorText(ELOOP));
  if (target->exists && !target->regular) {
    state_ = SettingsFileState::kNotRegular;
    return fail(std::string(kNotRegularText));
  }
  const FileLock lock(target->path, kLockTimeout);
  if (!lock.ok()) return fail(ErrorText(lock.error()));
  RemoveStaleTemporaries(target->path);

  // The file as it is now; as this process left it, it need not be read.
  CSysData merged;
  if (StampOfFile(target->path) == stamp_) {
    merged = file_;
  } else {
    std::string bytes;
    FileStamp stamp;
    int error = 0;
    switch (ReadRegularFile(target->path, bytes, &stamp, &error)) {
      case ReadStatus::kNotRegular:
        state_ = SettingsFileState::kNotRegular;
        return fail(std::string(kNotRegularText));
      case ReadStatus::kFailed:
        return fail(ErrorText(error));
      case ReadStatus::kMissing:
      case ReadStatus::kRead:
        break;
    }
    if (!HoldsSettingsRecord(bytes)) {
      state_ = SettingsFileState::kForeign;
      return fail(std::string(kForeignText));
    }
    // A damaged file keeps, past the damage, what this process knew.
    merged = file_;
    if (!bytes.empty()) DecodeSysData(bytes, merged);
  }
  VisitFieldsButLog([&](auto member) {
    if (!SameValue(data.*member, fields_.*member)) merged.*member = data.*member;
  });
  MergeLog(file_.logLines, data.logLines, merged.logLines);

  FileStamp written;
  if (!Write(merged, target->path, written)) return false;
  state_ = SettingsFileState::kUsable;
  stamp_ = written;
  file_ = std::move(merged);
  fields_ = WithoutLog(data);
  // Without other writers the log is as this process has it: no copy.
  if (data.logLines != file_.logLines) data.logLines = file_.logLines;
  return true;
}

bool CSysDataManager::Save(const CSysData& record) {
  saveError_.clear();
  const std::optional<ResolvedPath> target = ResolvePath(filePath);
  if (!target || (target->exists && !target->regular)) {
    saveError_ = target ? std::string(kNotRegularText) : ErrorText(ELOOP);
    return false;
  }
  const FileLock lock(target->path, kLockTimeout);
  if (!lock.ok()) {
    saveError_ = ErrorText(lock.error());
    return false;
  }
  RemoveStaleTemporaries(target->path);
  std::string bytes;
  if (ReadRegularFile(target->path, bytes) == ReadStatus::kRead && !HoldsSettingsRecord(bytes)) {
    saveError_ = kForeignText;
    return false;
  }
  // The file no longer holds what this manager last read or wrote.
  stamp_ = FileStamp{};
  stamp_.size = -2;
  FileStamp written;
  return Write(record, target->path, written);
}

bool CSysDataManager::Write(const CSysData& record, const std::string& target, FileStamp& written) {
  TemporaryFile temporary(target);
  if (!temporary.ok()) {
    saveError_ = ErrorText(temporary.error());
    return false;
  }
  FdWriter file(temporary.fd());
  Writer out(file);
  EncodeFields(record, out);
  if (!file.Finish()) {
    saveError_ = ErrorText(file.error());
    return false;
  }
  if (!temporary.Commit()) {
    saveError_ = ErrorText(temporary.error());
    return false;
  }
  written = temporary.stamp();
  return true;
}

std::size_t CSysDataManager::unsavedLogLines() const {
  return data.logLines.size() - DiffLog(file_.logLines, data.logLines, nullptr);
}

std::string ProgramFolder() {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  return FolderOf(std::string(buffer, static_cast<std::size_t>(length)));
}

std::string UserFolder(const char* xdg_variable, std::string_view home_fallback) {
  std::string base;
  if (const char* xdg = std::getenv(xdg_variable); xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
      const passwd* user = ::getpwuid(::getuid());
      home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') return "";
    base = std::string(home) + "/" + std::string(home_fallback);
  }
  const std::string folder = base + "/calvoro/";
  // A folder that cannot be made shows itself when its file is written.
  MakeFolders(folder);
  return folder;
}

std::string SettingsFolder(const std::string& program_folder) {
  // Portable use: a settings file beside the program stays in use.
  struct stat beside {};
  if (::lstat((program_folder + std::string(kSysDataFileName)).c_str(), &beside) == 0)
    return program_folder;
  const std::string folder = UserFolder("XDG_CONFIG_HOME", ".config");
  return folder.empty() ? program_folder : folder;
}

}  // namespace calvoro
