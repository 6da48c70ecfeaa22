// The shape every fuzz input shares: a first line of blank-separated decimal
// numbers (the choices: base, precision, ...), then the texts, one a line.
// Inputs stay readable, so a seed or a kept finding can be written by hand.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/number_base.h"

namespace calvoro::fuzz {

// The calculator's bases in the order the choices number them.
inline constexpr NumberBase kBases[] = {NumberBase::Decimal, NumberBase::Binary, NumberBase::Octal,
                                        NumberBase::Hex, NumberBase::Mix};

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {
    const std::size_t end = text_.find('\n');
    header_ = text_.substr(0, end);
    body_ = end == std::string_view::npos ? std::string_view() : text_.substr(end + 1);
  }

  // The header's next number brought into [low, high] (low when missing).
  long long Number(long long low, long long high) {
    while (!header_.empty() && header_.front() == ' ') header_.remove_prefix(1);
    unsigned long long value = 0;
    const auto [end, error] = std::from_chars(header_.data(), header_.data() + header_.size(), value);
    header_.remove_prefix(static_cast<std::size_t>(end - header_.data()));
    if (error != std::errc() || high <= low) {
      if (end == header_.data() && !header_.empty()) header_.remove_prefix(1);  // skip junk
      return low;
    }
    return low + static_cast<long long>(value % static_cast<unsigned long long>(high - low + 1));
  }

  // One of the calculator's bases, Mix only when allowed.
  NumberBase Base(bool with_mix) { return kBases[Number(0, with_mix ? 4 : 3)]; }

  bool AtEnd() const { return body_.empty(); }
  // The body's next line without its line feed.
  std::string_view Line() {
    const std::size_t end = body_.find('\n');
    const std::string_view line = body_.substr(0, end);
    body_ = end == std::string_view::npos ? std::string_view() : body_.substr(end + 1);
    return line;
  }
  // Whatever is left of the body, line feeds included.
  std::string_view Rest() {
    const std::string_view rest = body_;
    body_ = {};
    return rest;
  }

 private:
  std::string_view text_;
  std::string_view header_;
  std::string_view body_;
};

// A property beside "no crash" failed: say which and stop the run, so that
// the fuzzer keeps the input.
[[noreturn]] inline void PropertyFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
  std::abort();
}

}  // namespace calvoro::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::calvoro::fuzz::PropertyFailed(#condition, __FILE__, __LINE__))

// Every target defines this entry point; libFuzzer or the replay runner calls it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
