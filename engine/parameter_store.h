// ParameterStore: the user parameters F, K, M, W (decimal texts in the
// settings) and the memories Last1..Last5 of the latest results.
#pragma once

#include <string>
#include <string_view>

#include "engine/expr_engine.h"

namespace calvoro {

class ParameterStore {
 public:
  explicit ParameterStore(EngineSettings& settings) : settings_(settings) {}

  const MemoryTexts& memories() const { return memories_; }
  // Last5 drops out, every memory moves down, Last1 takes the result with
  // the head of its base ("0b", "0", "0h"; none in bases 10 and Mix).
  void ShiftMemories(std::string result, NumberBase base);
  // The tooltip of memory button `index` (0 for Last1): the buttons' initial
  // text until the first result arrives.
  std::string MemoryTooltip(int index) const;

  // The stored text of parameter F, K, M or W (either case); nullptr for
  // another letter.
  std::string* Parameter(char letter);
  const std::string* Parameter(char letter) const;

 private:
  EngineSettings& settings_;
  MemoryTexts memories_ = kZeroMemories;
  bool shifted_ = false;
};

}  // namespace calvoro
