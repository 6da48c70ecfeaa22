// Safe reading and replacing of files: regular files only, temporaries
// beside the target renamed over it, a lock file for writers, and
// temporaries removed when the process is interrupted or has died.
#include "app/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>

namespace calvoro {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

namespace {

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileStamp StampOf(const struct stat& info) {
  return {info.st_dev, info.st_ino, info.st_size,
          static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec};
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The temporaries this process has open, in fixed slots that a signal
// handler can walk: 0 free, 1 being filled, 2 open.
constexpr int kSlots = 32;
struct Slot {
  std::atomic<int> state{0};
  char path[PATH_MAX];
};
// Constant-initialised: a constructor run at start would touch the page of
// every slot.
constinit std::array<Slot, kSlots> g_slots{};

int TakeSlot(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!g_slots[i].state.compare_exchange_strong(expected, 1)) continue;
    std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
    g_slots[i].state.store(2);
    return i;
  }
  return -1;
}

void FreeSlot(int slot) {
  if (slot >= 0) g_slots[slot].state.store(0);
}

extern "C" void RemoveTemporariesAndDie(int signal_number) {
  RemoveOpenTemporaries();
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);  // delivered with its default action once the handler returns
}

// Installs the removing handler for the signals that end a process, where
// the program has left their default action.
void InstallHandlers() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
      struct sigaction old {};
      if (::sigaction(signal_number, nullptr, &old) != 0) continue;
      if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
      struct sigaction action {};
      action.sa_handler = RemoveTemporariesAndDie;
      sigfillset(&action.sa_mask);
      ::sigaction(signal_number, &action, nullptr);
    }
  });
}

// The permission bits of a new file: what the umask leaves of 0666.
mode_t NewFileMode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// This machine's name as it goes into file names: letters, digits and "-"
// kept, anything else "_".
const std::string& HostName() {
  static const std::string name = [] {
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == 0) return std::string("-");
    std::string host(buffer);
    for (char& c : host) {
      const bool kept =
          (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
      if (!kept) c = '_';
    }
    return host;
  }();
  return name;
}

// "<name>.tmp<pid>.<host>.XXXXXX": the pid of a temporary of a process on
// this machine, or -1 (not a temporary, or another machine's: a writer on
// another host of a shared home is never taken for dead). The older
// "<name>.tmp<pid>.XXXXXX" counts as this machine's.
long TemporaryOwner(std::string_view entry, std::string_view name) {
  const std::string prefix = std::string(name) + ".tmp";
  if (!entry.starts_with(prefix)) return -1;
  entry.remove_prefix(prefix.size());
  const auto dot = entry.find('.');
  const auto last = entry.rfind('.');
  if (dot == 0 || dot == std::string_view::npos || entry.size() - last - 1 != 6) return -1;
  if (last != dot && entry.substr(dot + 1, last - dot - 1) != HostName()) return -1;
  long pid = 0;
  for (char c : entry.substr(0, dot)) {
    if (c < '0' || c > '9' || pid > 100'000'000) return -1;
    pid = pid * 10 + (c - '0');
  }
  for (char c : entry.substr(last + 1)) {
    const bool alphanumeric =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alphanumeric) return -1;
  }
  return pid;
}

// The pid of the process holding a flock on the open file `fd`, from
// /proc/locks; 0 when it cannot be known.
long LockHolder(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return 0;
  FILE* locks = std::fopen("/proc/locks", "re");
  if (locks == nullptr) return 0;
  long holder = 0;
  char line[256];
  while (holder == 0 && std::fgets(line, sizeof line, locks) != nullptr) {
    // "1: FLOCK  ADVISORY  WRITE 1234 08:01:5678 0 EOF"
    char kind[16], mode[16], access[16];
    long pid = 0;
    unsigned major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(line, "%*d: %15s %15s %15s %ld %x:%x:%llu", kind, mode, access, &pid, &major,
                    &minor, &inode) != 7)
      continue;
    if (std::string_view(kind) == "FLOCK" && inode == info.st_ino &&
        major == ::major(info.st_dev) && minor == ::minor(info.st_dev) && pid > 0)
      holder = pid;
  }
  std::fclose(locks);
  return holder;
}

}  // namespace

std::optional<ResolvedPath> ResolvePath(const std::string& path) {
  ResolvedPath resolved{path};
  for (int depth = 0;; ++depth) {
    struct stat info;
    if (::lstat(resolved.path.c_str(), &info) != 0) return resolved;  // a new name
    if (!S_ISLNK(info.st_mode)) {
      resolved.exists = true;
      resolved.regular = S_ISREG(info.st_mode);
      resolved.owner = info.st_uid;
      return resolved;
    }
    if (info.st_uid != ::geteuid() && info.st_uid != 0) resolved.linkOfOther = true;
    char target[PATH_MAX];
    const ssize_t length = ::readlink(resolved.path.c_str(), target, sizeof target - 1);
    if (length <= 0 || depth == 40) return std::nullopt;
    const std::string named(target, static_cast<std::size_t>(length));
    resolved.path = named.front() == '/' ? named : FolderOf(resolved.path) + named;
  }
}

FileStamp StampOfFile(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 ? StampOf(info) : FileStamp{};
}

namespace {

// Opens a regular file for reading (a FIFO or a device is never waited for);
// `fd` and `info` are set when kRead is returned.
ReadStatus OpenRegular(const std::string& path, int& fd, struct stat& info, int* error) {
  const auto fail = [error](ReadStatus status, int code) {
    if (error) *error = code;
    return status;
  };
  fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return fail(errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kFailed, errno);
  if (::fstat(fd, &info) != 0) {
    const int code = errno;
    ::close(fd);
    return fail(ReadStatus::kFailed, code);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return fail(ReadStatus::kNotRegular, 0);
  }
  return ReadStatus::kRead;
}

// Reads up to `bytes.size()` bytes of `fd` (fewer when the file was
// shortened meanwhile); 0 or the errno of the failure.
int ReadUpTo(int fd, std::string& bytes) {
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return 0;
}

}  // namespace

ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, FileStamp* stamp,
                           int* error) {
  int fd = -1;
  struct stat info;
  if (const ReadStatus opened = OpenRegular(path, fd, info, error); opened != ReadStatus::kRead)
    return opened;
  if (stamp) *stamp = StampOf(info);
  bytes.resize(static_cast<std::size_t>(info.st_size));
  const int code = ReadUpTo(fd, bytes);
  ::close(fd);
  if (code == 0) return ReadStatus::kRead;
  if (error) *error = code;
  return ReadStatus::kFailed;
}

FileBytes::~FileBytes() { Release(); }

void FileBytes::Release() {
  if (map_ != nullptr) ::munmap(map_, size_);
  map_ = nullptr;
  size_ = 0;
  std::string().swap(copy_);
}

ReadStatus FileBytes::Read(const std::string& path, FileStamp* stamp, int* error) {
  Release();
  int fd = -1;
  struct stat info;
  if (const ReadStatus opened = OpenRegular(path, fd, info, error); opened != ReadStatus::kRead)
    return opened;
  if (stamp) *stamp = StampOf(info);
  const auto size = static_cast<std::size_t>(info.st_size);
  if (size >= kMapFrom) {
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map != MAP_FAILED) {
      map_ = map;
      size_ = size;
      ::close(fd);
      return ReadStatus::kRead;
    }
  }
  copy_.resize(size);
  const int code = ReadUpTo(fd, copy_);
  ::close(fd);
  if (code == 0) return ReadStatus::kRead;
  if (error) *error = code;
  return ReadStatus::kFailed;
}

std::string_view FileBytes::view() const {
  if (map_ != nullptr) return {static_cast<const char*>(map_), size_};
  return copy_;
}

void FdWriter::Write(std::string_view bytes) {
  if (bytes.size() >= kBuffer) {
    Flush();
    if (error_ == 0) WriteAll(fd_, bytes, error_);
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kBuffer) Flush();
}

void FdWriter::Flush() {
  if (error_ == 0) WriteAll(fd_, buffer_, error_);
  buffer_.clear();
}

bool FdWriter::Finish() {
  Flush();
  return error_ == 0;
}

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
  InstallHandlers();
  static constexpr std::string_view kLetters =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  // Seeded by getrandom: std::random_device asks the processor (CPUID)
  // first, which costs much more than the call under a hypervisor.
  thread_local std::mt19937_64 random([] {
    std::uint64_t seed =
        static_cast<std::uint64_t>(::getpid()) << 32 ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t entropy = 0;
    if (::getrandom(&entropy, sizeof entropy, GRND_NONBLOCK) == sizeof entropy) seed ^= entropy;
    return seed;
  }());
  const std::string stem = target + ".tmp" + std::to_string(::getpid()) + "." + HostName() + ".";
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    path_ = stem;
    for (int i = 0; i < 6; ++i) path_ += kLetters[random() % kLetters.size()];
    // The name is in its slot before the file exists, so that no signal
    // can come between the two and leave the file behind.
    slot_ = TakeSlot(path_);
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                 0600);
    if (fd_ >= 0) break;
    error_ = errno;
    FreeSlot(slot_);
    slot_ = -1;
    if (error_ != EEXIST) return;
  }
  if (fd_ < 0) return;
  error_ = 0;
  // A replaced file keeps its permissions; a new one gets the umask's.
  struct stat info;
  const mode_t mode = ::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)
                          ? static_cast<mode_t>(info.st_mode & 07777)
                          : NewFileMode();
  ::fchmod(fd_, mode);
}

TemporaryFile::~TemporaryFile() { Discard(); }

void TemporaryFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(path_.c_str());
    fd_ = -1;
  }
  FreeSlot(slot_);
  slot_ = -1;
}

bool TemporaryFile::Commit() {
  if (fd_ < 0) return false;
  struct stat info;
  if (::fsync(fd_) != 0 || ::fstat(fd_, &info) != 0) {
    error_ = errno;
    Discard();
    return false;
  }
  stamp_ = StampOf(info);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(path_.c_str(), target_.c_str()) != 0) {
    error_ = errno;
    ::unlink(path_.c_str());
    FreeSlot(slot_);
    slot_ = -1;
    return false;
  }
  FreeSlot(slot_);
  slot_ = -1;
  // The rename itself reaches the disk with its folder.
  const int folder = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void RemoveStaleTemporaries(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string name = NameOf(target);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const long self = static_cast<long>(::getpid());
  while (const dirent* entry = ::readdir(dir)) {
    const long owner = TemporaryOwner(entry->d_name, name);
    if (owner <= 0 || owner == self) continue;
    if (::kill(static_cast<pid_t>(owner), 0) == 0 || errno != ESRCH) continue;  // still running
    const std::string path = folder + entry->d_name;
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

void RemoveOpenTemporaries() {
  for (Slot& slot : g_slots) {
    if (slot.state.load() == 2) ::unlink(slot.path);
  }
}

FileLock::FileLock(const std::string& target, std::chrono::milliseconds timeout)
    : path_(target + ".lock") {
  const char* path = path_.c_str();
  fd_ = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY,
               NewFileMode());
  if (fd_ < 0 && (errno == EACCES || errno == EROFS))
    fd_ = ::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) {
    error_ = errno;
    // O_NOFOLLOW refuses a link with ELOOP; a link's own loop says the same.
    if (error_ == ELOOP) problem_ = "the lock file " + path_ + " is a symbolic link";
    return;
  }
  struct stat info;
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    error_ = EINVAL;
    problem_ = "the lock file " + path_ + " is not a regular file";
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::microseconds(200);
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      error_ = errno;
      if (error_ == EWOULDBLOCK) {
        problem_ = "the lock file " + path_ + " is held";
        if (const long holder = LockHolder(fd_); holder > 0) {
          problem_ += " by process " + std::to_string(holder);
          // The program's name (/proc files show no size: read as far as it goes).
          char name[64] = {};
          const int comm =
              ::open(("/proc/" + std::to_string(holder) + "/comm").c_str(), O_RDONLY | O_CLOEXEC);
          const ssize_t length = comm >= 0 ? ::read(comm, name, sizeof name - 1) : -1;
          if (comm >= 0) ::close(comm);
          std::string_view shown(name, length > 0 ? static_cast<std::size_t>(length) : 0);
          while (!shown.empty() && shown.back() == '\n') shown.remove_suffix(1);
          if (!shown.empty()) problem_ += " (" + std::string(shown) + ")";
        }
      }
      return;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20'000));
  }
  locked_ = true;
}

std::string FileLock::problem() const {
  if (!problem_.empty() || error_ == 0) return problem_;
  return "the lock file " + path_ + " could not be opened (" + ErrorText(error_) + ")";
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

}  // namespace calvoro
