// SysData.dat: encoding, decoding, saving with several writers, and the
// settings folder.
#include "app/sys_data.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

#include "numeric/number_text.h"

namespace calvoro {
namespace {

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

// Which items the file keeps: those whose texts fit their bound, in order,
// up to the count and the bytes of the list's bound.
std::vector<bool> FittingItems(const std::vector<ConversionItem>& items) {
  std::vector<bool> fits(items.size());
  std::size_t bytes = 4, count = 0;
  for (std::size_t i = 0; i < items.size() && count < kMaxConversionItems; ++i) {
    const ConversionItem& item = items[i];
    if (std::max({item.catalog.size(), item.value.size(), item.description.size()}) >
        kMaxConversionTextBytes)
      continue;
    bytes += item.catalog.size() + item.value.size() + item.description.size() + 3 * 7 + 4;
    if (bytes > kMaxConversionBytes) break;
    fits[i] = true;
    ++count;
  }
  return fits;
}

bool SkipItem(Reader& in) {
  std::string_view text;
  std::int32_t kind;
  return in.TextView(text) && in.TextView(text) && in.TextView(text) && in.Int32(kind);
}

// A log line; a long one is cut to its bound as it is read.
bool ReadLine(Reader& in, std::string& line) {
  if (!in.Text(line)) return false;
  BoundLogLine(line);
  return true;
}

bool SkipLine(Reader& in) {
  std::string_view text;
  return in.TextView(text);
}

// A list: an int32 count, then the elements, read one by one (a count
// larger than the file stops at the end of the bytes). Beyond `max`
// elements the oldest (`keep_last`) or the last ones are passed over.
template <typename T, typename ReadOne, typename SkipOne>
bool ReadList(Reader& in, std::vector<T>& list, std::size_t max, bool keep_last, ReadOne read_one,
              SkipOne skip_one) {
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
// number kept within 0..max when it is read, and for a text of at most max
// bytes: a longer one is written empty (a parameter or Pi that holds no
// number, or too many bytes, gets its default after the whole file is read:
// `MendNumbers`; a longer saved text is read as empty).
// Reading, writing, copying and merging all go through this one list. Stops
// at the first visit that returns false.
template <typename Visit>
bool VisitFields(Visit&& visit) {
  return visit(&CSysData::paramF, kMaxParameterBytes) &&
         visit(&CSysData::paramK, kMaxParameterBytes) &&
         visit(&CSysData::paramM, kMaxParameterBytes) &&
         visit(&CSysData::paramW, kMaxParameterBytes) &&
         visit(&CSysData::paramPi, kMaxParameterBytes) && visit(&CSysData::spareReal) &&
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
         visit(&CSysData::savedExpression, kMaxSavedTextBytes) &&
         visit(&CSysData::savedInputFlag) && visit(&CSysData::savedInputText, kMaxSavedTextBytes) &&
         visit(&CSysData::tipIndex) && visit(&CSysData::savedInputB) &&
         visit(&CSysData::savedInputC) && visit(&CSysData::numberBase) &&
         visit(&CSysData::spareInt3) && visit(&CSysData::tipOpen);
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
void WriteField(Writer& out, const std::string& text, std::size_t max) {
  out.Text(text.size() <= max ? std::string_view(text) : std::string_view());
}
void WriteField(Writer& out, std::int32_t value, int max) { out.Int32(std::clamp(value, 0, max)); }
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
  const std::vector<bool> fits = FittingItems(items);
  out.Int32(static_cast<std::int32_t>(std::count(fits.begin(), fits.end(), true)));
  for (std::size_t i = 0; i < items.size(); ++i)
    if (fits[i]) WriteItem(out, items[i]);
}

bool ReadField(Reader& in, std::string& text, std::size_t) { return in.Text(text); }
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
  base = code == 100 ? NumberBase::Mix : BaseOfRadix(RadixOfValue(code).value_or(Radix::kDecimal));
  return true;
}
bool ReadField(Reader& in, std::vector<std::string>& lines) {
  if (!ReadList(in, lines, kMaxLogLines, true, ReadLine, SkipLine)) return false;
  BoundLog(lines);
  return true;
}
bool ReadField(Reader& in, std::vector<ConversionItem>& items) {
  if (!ReadList(in, items, kMaxConversionItems, false, ReadItem, SkipItem)) return false;
  const std::vector<bool> fits = FittingItems(items);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!fits[i]) continue;
    if (kept != i) items[kept] = std::move(items[i]);
    ++kept;
  }
  items.resize(kept);
  return true;
}

bool ReadFields(Reader& in, CSysData& d) {
  return VisitFields([&](auto member, auto... max) { return ReadField(in, d.*member, max...); });
}

void EncodeFields(const CSysData& d, Writer& out) {
  out.Text(kSysDataHeader);
  VisitFields([&](auto member, auto... max) {
    WriteField(out, d.*member, max...);
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
  const std::size_t first_new = file.size();
  file.insert(file.end(), current.begin() + static_cast<std::ptrdiff_t>(appended), current.end());
  for (std::size_t i = first_new; i < file.size(); ++i) BoundLogLine(file[i]);
  BoundLog(file);
}

// A number result's parts: what stands before its digits ("(-", "0h"), its
// significant digits, and the exponent of the first of them in the
// number's own base; nullopt for anything that is not a plain number.
struct NumberParts {
  std::string_view lead;
  std::string digits;
  long long exponent = 0;
  std::string_view close;
};

std::optional<NumberParts> SplitNumber(std::string_view text) {
  NumberParts parts;
  std::size_t at = 0;
  while (at < text.size() && (text[at] == '(' || text[at] == '-' || text[at] == '+')) ++at;
  if (text.size() > at + 1 && text[at] == '0' &&
      (text[at + 1] == 'b' || text[at + 1] == 'h' || text[at + 1] == 'x'))
    at += 2;
  parts.lead = text.substr(0, at);
  std::size_t end = text.size();
  while (end > at && text[end - 1] == ')') --end;
  parts.close = text.substr(end);
  std::string_view body = text.substr(at, end - at);
  long long exponent = 0;
  if (const auto e = body.rfind("E"); e != std::string_view::npos && e + 1 < body.size() &&
                                      (body[e + 1] == '+' || body[e + 1] == '-')) {
    const std::string_view power = body.substr(e + 2);
    if (power.empty() || power.size() > 12 ||
        power.find_first_not_of("0123456789") != std::string_view::npos)
      return std::nullopt;
    exponent = std::stoll(std::string(power)) * (body[e + 1] == '-' ? -1 : 1);
    body = body.substr(0, e);
  }
  const auto point = body.find('.');
  const std::size_t whole = point == std::string_view::npos ? body.size() : point;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (i == point) continue;
    if (!digit) return std::nullopt;
    if (parts.digits.empty() && c == '0') continue;  // a leading zero
    if (parts.digits.empty())
      parts.exponent = exponent + (i < whole ? whole - i - 1 : -static_cast<long long>(i - whole));
    parts.digits += c;
  }
  if (parts.digits.empty()) return std::nullopt;
  return parts;
}

// Shortens the text `result` to at most `room` bytes as described at
// BoundLogLine; false when it is no number.
bool ShortenNumber(std::string& result, std::size_t room) {
  constexpr std::size_t kMarkRoom = 80;
  if (room <= kMarkRoom + 2) return false;
  const std::optional<NumberParts> parts = SplitNumber(result);
  if (!parts) return false;
  const std::size_t kept = std::min(parts->digits.size(), room - kMarkRoom - parts->lead.size());
  if (kept >= parts->digits.size()) return false;
  std::string shortened(parts->lead);
  shortened += parts->digits[0];
  if (kept > 1) shortened.append(".").append(parts->digits, 1, kept - 1);
  shortened += "...[" + std::to_string(parts->digits.size() - kept) + " digits left out]E";
  shortened += (parts->exponent >= 0 ? "+" : "") + std::to_string(parts->exponent);
  shortened.append(parts->close);
  result = std::move(shortened);
  return true;
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

// Folders `UserFolder` found unsafe, with why.
std::mutex g_unsafe_mutex;
std::vector<std::pair<std::string, std::string>> g_unsafe_folders;

// Why an existing folder must not be used, or "".
std::string FolderProblem(const std::string& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) != 0) return "";  // shows itself when its file is written
  if (!S_ISDIR(info.st_mode)) return "it is not a folder";
  if (info.st_uid != ::geteuid()) return "it belongs to another user";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "others may write to it";
  return "";
}

// Replaces a parameter or Pi that is no number by its default.
void MendNumbers(CSysData& data, std::vector<std::string>& warnings) {
  const CSysData defaults;
  const struct {
    std::string CSysData::*member;
    const char* name;
  } fields[] = {{&CSysData::paramF, "parameter F"},
                {&CSysData::paramK, "parameter K"},
                {&CSysData::paramM, "parameter M"},
                {&CSysData::paramW, "parameter W"},
                {&CSysData::paramPi, "Pi"}};
  for (const auto& field : fields) {
    std::string& value = data.*field.member;
    const bool fits = value.size() <= kMaxParameterBytes;
    if (fits && IsNumber(value, Radix::kDecimal, {.plus = true, .brackets = true, .blanks = true}))
      continue;
    std::string shown = value.size() > 40 ? value.substr(0, 40) + "..." : value;
    warnings.push_back("the " + std::string(field.name) + " in the settings file " +
                       (fits
                            ? "is not a number (\"" + shown + "\"): "
                            : "is longer than " + std::to_string(kMaxParameterBytes) + " bytes: ") +
                       (field.member == &CSysData::paramPi ? "its 100 decimals are"
                                                           : defaults.*field.member + " is") +
                       " used");
    value = defaults.*field.member;
  }
}

constexpr std::string_view kNotRegularText = "it is not a regular file";
constexpr std::string_view kForeignText = "it is not a Calvoro settings file";
constexpr std::string_view kDamagedText =
    "it is damaged; 'calvoro-cli log --repair' keeps what can be read of it";

// "<file>.pending-<pid>": the pid, or -1.
long PendingOwner(std::string_view entry, std::string_view name) {
  const std::string prefix = std::string(name) + ".pending-";
  if (!entry.starts_with(prefix) || entry.size() == prefix.size() ||
      entry.size() > prefix.size() + 9)
    return -1;
  long pid = 0;
  for (char c : entry.substr(prefix.size())) {
    if (c < '0' || c > '9') return -1;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

// The log lines of the pending files beside `target` that decode whole,
// and their paths, oldest file first.
std::vector<std::string> ReadPendingFiles(const std::string& target,
                                          std::vector<std::string>& log) {
  std::vector<std::pair<long long, std::string>> found;
  const std::string folder = FolderOf(target);
  const std::string name = target.substr(target.rfind('/') + 1);
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      if (PendingOwner(entry->d_name, name) <= 0) continue;
      const std::string path = folder + entry->d_name;
      struct stat info;
      if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        continue;
      found.emplace_back(
          static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec,
          path);
    }
    ::closedir(dir);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> merged;
  for (const auto& [time, path] : found) {
    std::string bytes;
    CSysData pending;
    if (ReadRegularFile(path, bytes) != ReadStatus::kRead || !DecodeSysData(bytes, pending))
      continue;  // still being written, or not ours
    log.insert(log.end(), std::make_move_iterator(pending.logLines.begin()),
               std::make_move_iterator(pending.logLines.end()));
    merged.push_back(path);
  }
  return merged;
}

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
  const bool whole = ReadFields(in, data) && in.AtEnd();
  for (std::string* text : {&data.savedExpression, &data.savedInputText})
    if (text->size() > kMaxSavedTextBytes) text->clear();
  return whole;
}

void BoundLogLine(std::string& line) {
  if (line.size() <= kMaxLogLineBytes) return;
  // The beginning of a text of `keep` bytes, marked.
  const auto cut = [](std::string& text, std::size_t keep) {
    const std::string mark = "...[" + std::to_string(text.size() - keep) + " bytes left out]";
    text.resize(keep);
    text += mark;
  };
  constexpr std::size_t kMarkRoom = 64;
  const std::size_t equals = line.rfind('=');
  if (equals == std::string::npos) {
    cut(line, kMaxLogLineBytes - kMarkRoom);
    line.shrink_to_fit();  // a bound in bytes, not only in length
    return;
  }
  std::string result = line.substr(equals + 1);
  line.resize(equals);
  // The time, base and expression take at most half when the result needs
  // the rest (what the result leaves, saturating: a result may be longer
  // than the whole bound).
  if (line.size() + 1 + result.size() > kMaxLogLineBytes && line.size() > kMaxLogLineBytes / 2) {
    constexpr std::size_t kForResult = kMaxLogLineBytes - kMarkRoom - 1;
    const std::size_t left = result.size() < kForResult ? kForResult - result.size() : 0;
    cut(line, std::max(kMaxLogLineBytes / 2, left) - kMarkRoom);
  }
  const std::size_t room = kMaxLogLineBytes - line.size() - 1;
  if (result.size() > room && !ShortenNumber(result, room)) cut(result, room - kMarkRoom);
  line += '=';
  line += result;
  line.shrink_to_fit();
}

void BoundLog(std::vector<std::string>& lines) {
  std::size_t drop = lines.size() > kMaxLogLines ? lines.size() - kMaxLogLines : 0;
  std::size_t bytes = 0;
  for (std::size_t i = lines.size(); i > drop; --i) {
    bytes += LogLineFileBytes(lines[i - 1]);
    if (bytes > kMaxLogBytes) {
      drop = i;
      break;
    }
  }
  if (drop > 0) lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(drop));
}

CSysDataManager::CSysDataManager()
    : filePath(SettingsFolder(ProgramFolder()) + std::string(kSysDataFileName)) {}

CSysDataManager::CSysDataManager(std::string file_path) : filePath(std::move(file_path)) {}

namespace {

// Whether bytes that hold our header and more failed to decode whole.
bool Damaged(std::string_view bytes, bool decoded) {
  return !decoded && bytes.size() > kSysDataHeader.size() + 1 && HoldsSettingsRecord(bytes);
}

}  // namespace

bool CSysDataManager::Load() {
  warnings_.clear();
  if (!UnsafeFolderProblem(FolderOf(filePath)).empty()) {
    state_ = SettingsFileState::kUnsafeFolder;
    return true;
  }
  if (std::string problem = SettingsFileProblem(filePath); !problem.empty()) {
    state_ = SettingsFileState::kUnsafeFile;
    fileProblem_ = std::move(problem);
    return true;
  }
  FileBytes file;
  FileStamp stamp;
  const ReadStatus status = file.Read(filePath, &stamp);
  const std::string_view bytes = file.view();
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
  if (Damaged(bytes, read)) {
    state_ = SettingsFileState::kDamaged;
  } else {
    MendNumbers(data, warnings_);
  }
  file.Release();  // not held beside two copies of the log
  file_ = data;
  fields_ = WithoutLog(data);
  stamp_ = stamp;
  return read;
}

void CSysDataManager::Adopt(CSysDataManager& other) {
  filePath = other.filePath;
  data = WithoutLog(other.data);
  data.logLines = std::move(other.data.logLines);
  file_ = WithoutLog(other.file_);
  file_.logLines = std::move(other.file_.logLines);
  fields_ = other.fields_;
  stamp_ = other.stamp_;
  state_ = other.state_;
  fileProblem_ = other.fileProblem_;
  warnings_ = other.warnings_;
  other.data.logLines.clear();
  other.file_.logLines.clear();
}

struct CSysDataManager::Opened {
  std::string target;
  std::unique_ptr<FileLock> lock;
};

bool CSysDataManager::Fail(std::string why) {
  saveError_ = std::move(why);
  return false;
}

std::optional<CSysDataManager::Opened> CSysDataManager::Open() {
  saveError_.clear();
  lockHeld_ = false;
  if (state_ == SettingsFileState::kUnsafeFolder) {
    Fail("the folder " + FolderOf(filePath) + " is not safe to use (" +
         UnsafeFolderProblem(FolderOf(filePath)) + ")");
    return std::nullopt;
  }
  if (std::string problem = SettingsFileProblem(filePath); !problem.empty()) {
    state_ = SettingsFileState::kUnsafeFile;
    fileProblem_ = std::move(problem);
    Fail("the settings file is not safe to use (" + fileProblem_ + ")");
    return std::nullopt;
  }
  const std::optional<ResolvedPath> target = ResolvePath(filePath);
  if (!target) {
    Fail(ErrorText(ELOOP));
    return std::nullopt;
  }
  if (target->exists && !target->regular) {
    state_ = SettingsFileState::kNotRegular;
    Fail(std::string(kNotRegularText));
    return std::nullopt;
  }
  Opened opened{target->path, std::make_unique<FileLock>(target->path, lockTimeout)};
  if (!opened.lock->ok()) {
    lockHeld_ = opened.lock->error() == EWOULDBLOCK;
    Fail(opened.lock->problem());
    return std::nullopt;
  }
  RemoveStaleTemporaries(target->path);
  return opened;
}

bool CSysDataManager::Save() {
  if (state_ == SettingsFileState::kDamaged) return Fail(std::string(kDamagedText));
  const std::optional<Opened> opened = Open();
  if (!opened) return false;
  const std::string& target = opened->target;

  // The file as it is now; as this process left it, it need not be read.
  CSysData merged;
  if (StampOfFile(target) == stamp_) {
    merged = file_;
  } else {
    FileBytes file;
    FileStamp stamp;
    int error = 0;
    const ReadStatus status = file.Read(target, &stamp, &error);
    const std::string_view bytes = file.view();
    switch (status) {
      case ReadStatus::kNotRegular:
        state_ = SettingsFileState::kNotRegular;
        return Fail(std::string(kNotRegularText));
      case ReadStatus::kFailed:
        return Fail(ErrorText(error));
      case ReadStatus::kMissing:
      case ReadStatus::kRead:
        break;
    }
    if (!HoldsSettingsRecord(bytes)) {
      state_ = SettingsFileState::kForeign;
      return Fail(std::string(kForeignText));
    }
    // A file cut short keeps, past its end, what this process knew; a
    // damaged one is never written over.
    merged = file_;
    if (!bytes.empty() && Damaged(bytes, DecodeSysData(bytes, merged))) {
      state_ = SettingsFileState::kDamaged;
      return Fail(std::string(kDamagedText));
    }
  }
  VisitFieldsButLog([&](auto member) {
    if (!SameValue(data.*member, fields_.*member)) merged.*member = data.*member;
  });
  // The lines of runs that ended without the lock come before this run's.
  const std::vector<std::string> pending = ReadPendingFiles(target, merged.logLines);
  MergeLog(file_.logLines, data.logLines, merged.logLines);

  FileStamp written;
  if (!Write(merged, target, written)) return false;
  for (const std::string& path : pending) ::unlink(path.c_str());
  state_ = SettingsFileState::kUsable;
  stamp_ = written;
  file_ = std::move(merged);
  fields_ = WithoutLog(data);
  // Without other writers the log is as this process has it: no copy.
  if (data.logLines != file_.logLines) data.logLines = file_.logLines;
  return true;
}

bool CSysDataManager::Save(const CSysData& record) {
  const std::optional<Opened> opened = Open();
  if (!opened) return false;
  FileBytes file;
  if (file.Read(opened->target) == ReadStatus::kRead) {
    const std::string_view bytes = file.view();
    if (!HoldsSettingsRecord(bytes)) return Fail(std::string(kForeignText));
    CSysData ignored;
    if (Damaged(bytes, DecodeSysData(bytes, ignored))) return Fail(std::string(kDamagedText));
  }
  // The file no longer holds what this manager last read or wrote.
  stamp_ = FileStamp{};
  stamp_.size = -2;
  FileStamp written;
  return Write(record, opened->target, written);
}

bool CSysDataManager::Repair() {
  const std::optional<Opened> opened = Open();
  if (!opened) return false;
  FileBytes file;
  int error = 0;
  if (file.Read(opened->target, nullptr, &error) != ReadStatus::kRead)
    return Fail(error != 0 ? ErrorText(error) : std::string(kNotRegularText));
  const std::string_view bytes = file.view();
  if (!HoldsSettingsRecord(bytes)) return Fail(std::string(kForeignText));
  CSysData kept;
  DecodeSysData(bytes, kept);
  std::vector<std::string> ignored;
  MendNumbers(kept, ignored);
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  // The original keeps its name until the repaired file replaces it.
  repairedAside = opened->target + ".damaged-" + stamp;
  if (::link(opened->target.c_str(), repairedAside.c_str()) != 0) {
    const int code = errno;
    repairedAside.clear();
    return Fail(ErrorText(code));
  }
  FileStamp written;
  if (!Write(kept, opened->target, written)) return false;
  data = kept;
  file_ = kept;
  fields_ = WithoutLog(kept);
  stamp_ = written;
  state_ = SettingsFileState::kUsable;
  return true;
}

std::string CSysDataManager::SavePending() {
  saveError_.clear();
  CSysData pending;
  const std::size_t first = data.logLines.size() - unsavedLogLines();
  pending.logLines.assign(data.logLines.begin() + static_cast<std::ptrdiff_t>(first),
                          data.logLines.end());
  if (pending.logLines.empty()) return "";
  const std::optional<ResolvedPath> target = ResolvePath(filePath);
  const std::string path =
      (target ? target->path : filePath) + ".pending-" + std::to_string(::getpid());
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
  if (fd < 0) {
    saveError_ = ErrorText(errno);
    return "";
  }
  FdWriter out(fd);
  out.Write(EncodeSysData(pending));
  const bool written = out.Finish() && ::fsync(fd) == 0;
  const int code = written ? 0 : (out.error() != 0 ? out.error() : errno);
  ::close(fd);
  if (!written) {
    ::unlink(path.c_str());
    saveError_ = ErrorText(code);
    return "";
  }
  return path;
}

bool CSysDataManager::Write(const CSysData& record, const std::string& target, FileStamp& written) {
  TemporaryFile temporary(target);
  if (!temporary.ok()) return Fail(ErrorText(temporary.error()));
  FdWriter file(temporary.fd());
  Writer out(file);
  EncodeFields(record, out);
  if (!file.Finish()) return Fail(ErrorText(file.error()));
  if (!temporary.Commit()) return Fail(ErrorText(temporary.error()));
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
  if (std::string problem = FolderProblem(folder); !problem.empty()) {
    std::lock_guard<std::mutex> lock(g_unsafe_mutex);
    g_unsafe_folders.emplace_back(folder, std::move(problem));
  }
  return folder;
}

std::string SettingsFileProblem(const std::string& path) {
  const std::optional<ResolvedPath> target = ResolvePath(path);
  if (!target) return "";  // a loop of links: refused when it is written
  if (target->linkOfOther) return "it is a symbolic link of another user";
  if (target->exists && target->regular && target->owner != ::geteuid() && target->owner != 0)
    return "it belongs to another user";
  for (const std::string& folder : {FolderOf(path), FolderOf(target->path)}) {
    struct stat info;
    if (::stat(folder.c_str(), &info) == 0 && (info.st_mode & S_IWOTH) != 0 &&
        (info.st_mode & S_ISVTX) == 0)
      return "anyone may replace it in the folder " + folder;
  }
  return "";
}

std::string UnsafeFolderProblem(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_unsafe_mutex);
  for (const auto& [unsafe, problem] : g_unsafe_folders)
    if (unsafe == folder) return problem;
  return "";
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
