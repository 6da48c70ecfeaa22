// The interactive session's history file.
#include "cli/history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iostream>

#include "app/safe_file.h"
#include "app/sys_data.h"

namespace calvoro::cli {
namespace {

// At most this much of the file's end is read: the newest kMaxHistoryLines
// of the longest kept length.
constexpr std::size_t kMaxHistoryBytes = kMaxHistoryLines * (kMaxHistoryLineLength + 1);

// The last kMaxHistoryLines lines of `text` (taken from its end, so that a
// text of millions of empty lines costs no more), oldest first; lines too
// long to be kept are passed over.
std::vector<std::string> LastLines(std::string_view text) {
  std::vector<std::string> lines;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  while (lines.size() < kMaxHistoryLines && !text.empty()) {
    const std::size_t newline = text.rfind('\n');
    const std::size_t start = newline == std::string_view::npos ? 0 : newline + 1;
    if (text.size() - start <= kMaxHistoryLineLength) lines.emplace_back(text.substr(start));
    text.remove_suffix(text.size() - (newline == std::string_view::npos ? 0 : newline));
  }
  std::reverse(lines.begin(), lines.end());
  return lines;
}

void Warn(const std::string& text) { std::cerr << "calvoro-cli: " << text << '\n'; }

}  // namespace

HistoryFile::HistoryFile() {
  const std::string folder = UserFolder("XDG_STATE_HOME", ".local/state");
  if (folder.empty()) return;
  if (const std::string problem = UnsafeFolderProblem(folder); !problem.empty()) {
    Warn("the folder " + folder + " is not safe to use (" + problem +
         "); this session keeps no history");
    return;
  }
  path_ = folder + "history";
}

int HistoryFile::Open(int flags) {
  // Never through a link, and never a FIFO or a device (O_NONBLOCK: opening
  // a FIFO does not wait for a writer).
  const int fd =
      ::open(path_.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0600);
  if (fd < 0) {
    if (errno == ELOOP) {
      Warn("the history file " + path_ + " is a symbolic link; this session keeps no history");
      path_.clear();
    }
    return -1;
  }
  struct stat file {};
  if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    Warn("the history file " + path_ + " is not a regular file; this session keeps no history");
    path_.clear();
    ::close(fd);
    return -1;
  }
  return fd;
}

std::vector<std::string> HistoryFile::Load() {
  if (path_.empty()) return {};
  const int fd = Open(O_RDONLY);
  if (fd < 0) return {};
  // Only the end of the file is read: its newest lines.
  struct stat file {};
  ::fstat(fd, &file);
  const off_t size = file.st_size;
  const off_t start =
      size > static_cast<off_t>(kMaxHistoryBytes) ? size - static_cast<off_t>(kMaxHistoryBytes) : 0;
  std::string text(static_cast<std::size_t>(size - start), '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n =
        ::pread(fd, text.data() + got, text.size() - got, start + static_cast<off_t>(got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(got);
  // A line cut by the start of the read is not a whole line.
  if (start > 0) text.erase(0, std::min(text.find('\n'), text.size() - 1) + 1);
  std::vector<std::string> lines = LastLines(text);
  lines_ = lines.size();
  return lines;
}

void HistoryFile::Add(std::string_view line) {
  if (path_.empty() || line.empty() || line.size() > kMaxHistoryLineLength ||
      line.find('\n') != std::string_view::npos)
    return;
  const int fd = Open(O_WRONLY | O_APPEND | O_CREAT);
  if (fd < 0) {
    path_.clear();  // a history that cannot be kept is no reason to stop
    return;
  }
  FdWriter out(fd);
  out.Write(line);
  out.Write("\n");
  const bool written = out.Finish();
  ::close(fd);
  if (!written || ++lines_ <= kMaxHistoryLines) return;
  // Other sessions may have added lines too: the file is read again.
  const std::vector<std::string> kept = Load();
  if (path_.empty()) return;
  TemporaryFile temporary(path_);
  if (!temporary.ok()) return;
  FdWriter rewrite(temporary.fd());
  for (const std::string& kept_line : kept) {
    rewrite.Write(kept_line);
    rewrite.Write("\n");
  }
  if (rewrite.Finish() && temporary.Commit()) lines_ = kept.size();
}

}  // namespace calvoro::cli
