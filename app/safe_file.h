// Files written so that nothing is lost or damaged: only regular files are
// read or replaced; a file is written to a temporary file of its own beside
// it (created exclusively, with a unique name) and renamed over it at the
// end; a lock file beside it lets one writer at a time read, change and
// write it; temporaries never outlive their process (removed on SIGINT,
// SIGTERM and SIGHUP, and those of dead processes at the next write).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

// What a path names once its symbolic links are followed.
struct ResolvedPath {
  std::string path;          // the file at the end of the links, or the new name
  bool exists = false;       // something is there
  bool regular = false;      // and it is a regular file
  uid_t owner = 0;           // whose it is, when it exists
  bool linkOfOther = false;  // a link on the way belongs to another user than root
};
// Follows symbolic links (at most 40); nullopt for a loop or a link that
// cannot be read.
std::optional<ResolvedPath> ResolvePath(const std::string& path);

// The identity of a file's contents as far as `stat` tells it: a file
// replaced by a rename, or written in place, gets another stamp.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = -1;
  long long modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The folder of `path` with its trailing "/" ("./" for a bare name).
std::string FolderOf(const std::string& path);

// The stamp of the file at `path` (links followed); size -1 when there is none.
FileStamp StampOfFile(const std::string& path);

enum class ReadStatus { kRead, kMissing, kNotRegular, kFailed };
// Reads a regular file whole, up to the size it had when it was opened, so a
// file that grows meanwhile cannot make the read endless. A FIFO or a device
// is never read (opening it does not wait for a writer either). `stamp`, when
// given, gets the stamp of the file read; `error` the errno of a failure.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, FileStamp* stamp = nullptr,
                           int* error = nullptr);

// The bytes of a regular file as ReadRegularFile reads them, but a large
// file is mapped rather than copied: reading it needs no memory of its size,
// and of a long text passed over no page is read at all. The file must not
// be shortened in place while it is looked at (its writers replace it).
class FileBytes {
 public:
  FileBytes() = default;
  ~FileBytes();
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;

  ReadStatus Read(const std::string& path, FileStamp* stamp = nullptr, int* error = nullptr);
  std::string_view view() const;
  void Release();

 private:
  static constexpr std::size_t kMapFrom = std::size_t{4} << 20;
  std::string copy_;
  void* map_ = nullptr;
  std::size_t size_ = 0;
};

// Writes through a buffer to a file descriptor; remembers the first failure.
class FdWriter {
 public:
  explicit FdWriter(int fd) : fd_(fd) {}
  void Write(std::string_view bytes);
  // Writes what is buffered; true when every write succeeded.
  bool Finish();
  int error() const { return error_; }

 private:
  static constexpr std::size_t kBuffer = std::size_t{1} << 16;
  void Flush();

  int fd_;
  int error_ = 0;
  std::string buffer_;
};

// A temporary file beside `target`, named "<target>.tmp<pid>.<host>.XXXXXX" and
// created exclusively, so that it never follows a link or meets another
// run's file. SIGINT, SIGTERM and SIGHUP remove it (the handlers are
// installed with the first temporary, unless the program has handlers of
// its own); so does the destructor unless Commit renamed it over the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  // Flushes the file to disk, closes it and renames it over the target.
  bool Commit();
  // The errno of the failure (creation or Commit).
  int error() const { return error_; }
  // The stamp of the target after Commit.
  const FileStamp& stamp() const { return stamp_; }

 private:
  void Discard();

  std::string target_;
  std::string path_;
  int fd_ = -1;
  int slot_ = -1;
  int error_ = 0;
  FileStamp stamp_;
};

// Removes the temporaries beside `target` whose process on this machine has
// ended.
void RemoveStaleTemporaries(const std::string& target);
// Removes every temporary file this process has open. Safe in a signal
// handler; for programs that handle SIGINT and SIGTERM themselves.
void RemoveOpenTemporaries();

// An exclusive lock on "<target>.lock" (flock): one writer at a time reads,
// changes and writes the target. Released by the destructor, or by the end
// of the process however it ends. A link or anything but a regular file
// there is refused.
class FileLock {
 public:
  FileLock(const std::string& target, std::chrono::milliseconds timeout);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool ok() const { return locked_; }
  // The errno of the failure (EWOULDBLOCK after the timeout).
  int error() const { return error_; }
  // The failure for a person: "the lock file PATH is held by process 123
  // (calvoro-cli)", "... is a symbolic link", "... is not a regular file".
  std::string problem() const;

 private:
  std::string path_;
  std::string problem_;
  int fd_ = -1;
  bool locked_ = false;
  int error_ = 0;
};

// A failure's errno as a text ("No space left on device").
std::string ErrorText(int error);

}  // namespace calvoro
