#include "robot/line_pieces.h"

#include <algorithm>
#include <cstdint>

namespace calvoro {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// Calls `block` with each block of the stream from its start until it
// returns false, then puts the stream back to its start.
template <typename Block>
void ReadBlocks(std::istream& in, Block block) {
  std::string buffer(kBlockSize, '\0');
  in.clear();
  in.seekg(0);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0 || !block(std::string_view(buffer.data(), got))) break;
  }
  in.clear();
  in.seekg(0);
}

}  // namespace

std::string_view DetectLineBreak(std::istream& in) {
  std::string_view line_break = "\n";
  char last = '\0';
  ReadBlocks(in, [&](std::string_view block) {
    const std::size_t at = block.find('\n');
    if (at == std::string_view::npos) {
      last = block.back();
      return true;
    }
    if ((at > 0 ? block[at - 1] : last) == '\r') line_break = "\r\n";
    return false;
  });
  return line_break;
}

std::uint64_t CountLines(std::istream& in) {
  std::uint64_t lines = 0;
  char last = '\n';
  ReadBlocks(in, [&](std::string_view block) {
    lines += static_cast<std::uint64_t>(std::count(block.begin(), block.end(), '\n'));
    last = block.back();
    return true;
  });
  return lines + (last == '\n' ? 0 : 1);
}

LinePieceReader::LinePieceReader(std::istream& in, std::size_t piece_size, std::size_t max_run)
    : in_(in), pieceSize_(std::max(piece_size, max_run + 2)), maxRun_(max_run) {}

bool LinePieceReader::Fill() {
  buffer_.erase(0, begin_);
  begin_ = 0;
  const std::size_t old = buffer_.size();
  // Small pieces (in tests) are read in blocks of their own size.
  const std::size_t block = std::min(kBlockSize, pieceSize_);
  buffer_.resize(old + block);
  in_.read(buffer_.data() + old, static_cast<std::streamsize>(block));
  const auto got = static_cast<std::size_t>(in_.gcount());
  buffer_.resize(old + got);
  return got > 0;
}

void LinePieceReader::Give(LinePiece& piece, std::size_t length, bool pass_through, bool line_ends,
                           std::size_t consumed) {
  // A line's break is what its consumed bytes hold beyond its text.
  const std::size_t break_length = line_ends ? consumed - length : 0;
  piece = {Rest().substr(0, length), pass_through, line_ends,
           break_length == 2 ? "\r\n" : break_length == 1 ? "\n" : ""};
  begin_ += consumed;
  searched_ = 0;
  lineOpen_ = !line_ends;
}

bool LinePieceReader::Next(LinePiece& piece) {
  for (;;) {
    const std::string_view rest = Rest();
    if (passing_) {
      const auto run_end =
          std::find_if(rest.begin(), rest.end(), [](char c) { return !IsCandidateChar(c); });
      const auto run = static_cast<std::size_t>(run_end - rest.begin());
      if (run < rest.size()) passing_ = false;
      if (run > 0) {
        Give(piece, run, true, false, run);
        return true;
      }
      if (passing_ && !Fill()) passing_ = false;
      continue;
    }
    const std::size_t newline = rest.find('\n', searched_);
    if (newline != std::string_view::npos) {
      const std::size_t length = newline > 0 && rest[newline - 1] == '\r' ? newline - 1 : newline;
      Give(piece, length, false, true, newline + 1);
      return true;
    }
    searched_ = rest.size();
    if (rest.size() >= pieceSize_) {
      // Cut after the last character no candidate holds. The last byte stays
      // behind: it may be the "\r" of a "\r\n" that the next block completes.
      const std::size_t limit = rest.size() - 1;
      std::size_t run_start = limit;
      while (run_start > 0 && IsCandidateChar(rest[run_start - 1])) --run_start;
      if (limit - run_start >= maxRun_) passing_ = true;
      if (run_start > 0) {
        Give(piece, run_start, false, false, run_start);
        searched_ = rest.size() - run_start;
        return true;
      }
      continue;
    }
    if (!Fill()) {
      const std::string_view last = Rest();
      if (last.empty() && !lineOpen_) return false;
      Give(piece, last.size(), false, true, last.size());
      return true;
    }
  }
}

}  // namespace calvoro
