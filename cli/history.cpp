// The interactive session's history file.
#include "cli/history.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "app/safe_file.h"
#include "app/sys_data.h"

namespace calvoro::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    lines.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return lines;
}

}  // namespace

HistoryFile::HistoryFile() {
  const std::string folder = UserFolder("XDG_STATE_HOME", ".local/state");
  if (!folder.empty()) path_ = folder + "history";
}

std::vector<std::string> HistoryFile::Load() const {
  std::string text;
  if (path_.empty() || ReadRegularFile(path_, text) != ReadStatus::kRead) return {};
  std::vector<std::string> lines = Lines(text);
  if (lines.size() > kMaxHistoryLines)
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kMaxHistoryLines));
  return lines;
}

void HistoryFile::Add(std::string_view line) {
  if (path_.empty() || line.empty() || line.size() > kMaxHistoryLineLength ||
      line.find('\n') != std::string_view::npos)
    return;
  if (lines_ == 0) lines_ = Load().size();
  // Only a regular file is written (a FIFO there would never take the line).
  const int fd = ::open(path_.c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
  if (fd < 0) return;  // a history that cannot be kept is no reason to stop
  struct stat file {};
  if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode)) {
    ::close(fd);
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
  const auto resolved = ResolvePath(path_);  // a link is kept, its file replaced
  if (!resolved) return;
  TemporaryFile temporary(resolved->path);
  if (!temporary.ok()) return;
  FdWriter rewrite(temporary.fd());
  for (const std::string& kept_line : kept) {
    rewrite.Write(kept_line);
    rewrite.Write("\n");
  }
  if (rewrite.Finish() && temporary.Commit()) lines_ = kept.size();
}

}  // namespace calvoro::cli
