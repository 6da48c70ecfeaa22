// SysData.dat: encoding, decoding, atomic saving and the settings folder.
#include "app/sys_data.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

namespace calvoro {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Encodes the record into a string, or straight into a file through a small
// buffer, so that saving a log of many megabytes needs no copy of it.
class Writer {
 public:
  Writer() = default;
  explicit Writer(int fd) : fd_(fd) {}

  void Byte(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
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
    if (fd_ >= 0 && length >= kBuffer) {
      Flush();
      ok_ = ok_ && WriteAll(fd_, text);
      return;
    }
    out_.append(text);
    if (fd_ >= 0 && out_.size() >= kBuffer) Flush();
  }
  std::string Take() { return std::move(out_); }
  // Writes what is buffered; true when every write to the file succeeded.
  bool Finish() {
    Flush();
    return ok_;
  }

 private:
  static constexpr std::size_t kBuffer = 1 << 16;
  void Flush() {
    ok_ = ok_ && WriteAll(fd_, out_);
    out_.clear();
  }

  int fd_ = -1;
  bool ok_ = true;
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
  bool Text(std::string& text) {
    std::uint64_t length;
    if (!Uint(length, 1)) return false;
    if (length == 0xFF) {
      if (!Uint(length, 2)) return false;
      if (length == 0xFFFF && !Uint(length, 4)) return false;
    }
    if (length > bytes_.size() - pos_) return false;
    text.assign(bytes_.substr(pos_, length));
    pos_ += length;
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

// A list: an int32 count, then the elements. Elements are read one by one and
// appended, so a count larger than the file stops at the end of the bytes.
template <typename T, typename ReadOne>
bool ReadList(Reader& in, std::vector<T>& list, ReadOne read_one) {
  std::int32_t count;
  if (!in.Int32(count) || count < 0) return false;
  list.clear();
  for (std::int32_t i = 0; i < count; ++i) {
    T element{};
    if (!read_one(in, element)) return false;
    list.push_back(std::move(element));
  }
  return true;
}

bool ReadAngle(Reader& in, bool& radian) {
  std::int32_t value;
  if (!in.Int32(value)) return false;
  radian = value != 0;
  return true;
}

// Precision and threshold out of range are clamped; a base that is none of
// the five becomes decimal.
bool ReadClamped(Reader& in, int& field, int max) {
  std::int32_t value;
  if (!in.Int32(value)) return false;
  field = std::clamp(value, 0, max);
  return true;
}

bool ReadBase(Reader& in, std::int32_t& base) {
  if (!in.Int32(base)) return false;
  if (base != 2 && base != 8 && base != 10 && base != 16 && base != 100) base = 10;
  return true;
}

bool ReadFields(Reader& in, CSysData& d) {
  return in.Text(d.paramF) && in.Text(d.paramK) && in.Text(d.paramM) && in.Text(d.paramW) &&
         in.Text(d.paramPi) && in.Double(d.spareReal) && in.Int32(d.windowOption1) &&
         in.Int32(d.windowOption2) && in.Int32(d.windowOption3) &&
         ReadList(in, d.logLines, [](Reader& r, std::string& line) { return r.Text(line); }) &&
         in.Int32(d.reserved1) && in.Int32(d.reserved2) && ReadAngle(in, d.angleRadian) &&
         in.Int32(d.minimizeToTray) && in.Byte(d.spareByte1) && in.Byte(d.spareByte2) &&
         in.Int32(d.spareInt1) && in.Int32(d.spareInt2) && in.Int32(d.windowStyle) &&
         in.Int32(d.freshStart) && ReadList(in, d.conversionItems, ReadItem) &&
         ReadClamped(in, d.precision, kMaxPrecision) &&
         ReadClamped(in, d.exponentThreshold, kMaxExponentThreshold) &&
         in.Int32(d.addSingleConversionToHistory) && in.Int32(d.showTips) &&
         in.Text(d.savedExpression) && in.Int32(d.savedInputFlag) && in.Text(d.savedInputText) &&
         in.Int32(d.tipIndex) && in.Int32(d.savedInputB) && in.Int32(d.savedInputC) &&
         ReadBase(in, d.numberBase) && in.Int32(d.spareInt3) && in.Int32(d.tipOpen);
}

// Reads the file in large blocks (a log of many megabytes is read at once).
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.clear();
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0)
    bytes.append(block, static_cast<std::size_t>(in.gcount()));
  return !in.bad();
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

bool IsWritableFolder(const std::string& folder) {
  return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// mkdir -p for a folder path ending in "/".
bool MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
}

// Writes a temporary file beside `path`, flushes it to disk and renames it
// over `path`: a reader sees the old file or the new one, never a short one.
// A symbolic link is followed, so that the file it names is replaced, not the
// link; anything but a regular file (a device such as /dev/null, a folder) is
// never replaced.
bool WriteFileAtomically(const std::string& link_or_path, const std::function<bool(int)>& write) {
  std::string path = link_or_path;
  struct stat info;
  for (int depth = 0; ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode); ++depth) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
    if (length <= 0 || depth == 16) return false;
    const std::string named(target, static_cast<std::size_t>(length));
    path = named.front() == '/' ? named : FolderOf(path) + named;
  }
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return false;
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  ::fchmod(fd, 0644);
  const bool written = write(fd) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

void EncodeFields(const CSysData& d, Writer& out) {
  out.Text(kSysDataHeader);
  for (const std::string* text : {&d.paramF, &d.paramK, &d.paramM, &d.paramW, &d.paramPi})
    out.Text(*text);
  out.Double(d.spareReal);
  out.Int32(d.windowOption1);
  out.Int32(d.windowOption2);
  out.Int32(d.windowOption3);
  out.Int32(static_cast<std::int32_t>(d.logLines.size()));
  for (const auto& line : d.logLines) out.Text(line);
  out.Int32(d.reserved1);
  out.Int32(d.reserved2);
  out.Int32(d.angleRadian ? 1 : 0);
  out.Int32(d.minimizeToTray);
  out.Byte(d.spareByte1);
  out.Byte(d.spareByte2);
  out.Int32(d.spareInt1);
  out.Int32(d.spareInt2);
  out.Int32(d.windowStyle);
  out.Int32(d.freshStart);
  out.Int32(static_cast<std::int32_t>(d.conversionItems.size()));
  for (const auto& item : d.conversionItems) WriteItem(out, item);
  out.Int32(d.precision);
  out.Int32(d.exponentThreshold);
  out.Int32(d.addSingleConversionToHistory);
  out.Int32(d.showTips);
  out.Text(d.savedExpression);
  out.Int32(d.savedInputFlag);
  out.Text(d.savedInputText);
  out.Int32(d.tipIndex);
  out.Int32(d.savedInputB);
  out.Int32(d.savedInputC);
  out.Int32(d.numberBase);
  out.Int32(d.spareInt3);
  out.Int32(d.tipOpen);
}

}  // namespace

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

int CSysDataManager::Load() {
  std::string bytes;
  if (!ReadWholeFile(filePath, bytes)) return kFileDone;  // no file: the record stays
  return DecodeSysData(bytes, data) ? kFileDone : kFileBroken;
}

int CSysDataManager::Save() const { return Save(data); }

int CSysDataManager::Save(const CSysData& record) const {
  const auto write = [&record](int fd) {
    Writer out(fd);
    EncodeFields(record, out);
    return out.Finish();
  };
  return WriteFileAtomically(filePath, write) ? kFileDone : kFileBroken;
}

std::string ProgramFolder() {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return "./";
  return FolderOf(std::string(buffer, static_cast<std::size_t>(length)));
}

std::string SettingsFolder(const std::string& program_folder) {
  if (IsWritableFolder(program_folder)) return program_folder;
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    config = std::string(home) + "/.config";
  } else {
    return program_folder;  // nowhere better to look
  }
  const std::string folder = config + "/calvoro/";
  if (!MakeFolders(folder)) return program_folder;
  // First use: start from the settings that came with the program.
  const std::string target = folder + std::string(kSysDataFileName);
  std::string seed;
  if (::access(target.c_str(), F_OK) != 0 &&
      ReadWholeFile(program_folder + std::string(kSysDataFileName), seed))
    WriteFileAtomically(target, [&seed](int fd) { return WriteAll(fd, seed); });
  return folder;
}

}  // namespace calvoro
