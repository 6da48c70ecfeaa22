// Reads a text file as lines, each given in one or more pieces, so that a
// line of many megabytes (or a binary file without line breaks) never has to
// be held whole. A long line is cut only after a character that no
// expression can hold, so no expression is ever split; a run of expression
// characters too long to be calculated is given as pass-through pieces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "robot/candidate_scan.h"

namespace calvoro {

struct LinePiece {
  std::string_view text;     // valid until the next call
  bool passThrough = false;  // to be copied unchanged
  bool lineEnds = false;     // the last piece of its line
  // The line's own break ("\r\n" or "\n") with its last piece; "" for the
  // other pieces and for a last line that ends with the file.
  std::string_view lineBreak;
};

class LinePieceReader {
 public:
  // Lines are cut into pieces of about `piece_size` bytes; runs of candidate
  // characters of `max_run` or more bytes pass through.
  explicit LinePieceReader(std::istream& in, std::size_t piece_size = std::size_t{1} << 20,
                           std::size_t max_run = kMaxCandidateLength);

  // The next piece; false when the file holds no more lines. A line is given
  // without its "\r\n" or "\n"; a last line without a break is a line too.
  bool Next(LinePiece& piece);

 private:
  bool Fill();
  std::string_view Rest() const { return std::string_view(buffer_).substr(begin_); }
  void Give(LinePiece& piece, std::size_t length, bool pass_through, bool line_ends,
            std::size_t consumed);

  std::istream& in_;
  std::size_t pieceSize_;
  std::size_t maxRun_;
  std::string buffer_;
  std::size_t begin_ = 0;     // the first byte not yet given
  std::size_t searched_ = 0;  // bytes after begin_ known to hold no "\n"
  bool lineOpen_ = false;     // a piece of the current line has been given
  bool passing_ = false;      // inside a run too long to calculate
};

// "\r\n" when the first line break of the stream is one, else "\n"; the
// stream is read up to that break and put back to its start.
std::string_view DetectLineBreak(std::istream& in);
// The lines of a stream (a last line without a break counted), for progress;
// the stream is put back to its start.
std::uint64_t CountLines(std::istream& in);

}  // namespace calvoro
