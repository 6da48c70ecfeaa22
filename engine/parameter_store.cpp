// The user parameters and the memories of the latest results.
#include "engine/parameter_store.h"

#include <utility>

#include <array>

#include "engine/number_base.h"

namespace calvoro {

void ParameterStore::ShiftMemories(std::string result, NumberBase base) {
  for (std::size_t i = memories_.size() - 1; i > 0; --i) memories_[i] = std::move(memories_[i - 1]);
  if (base != NumberBase::Mix) {
    // The head goes after the sign: "-0b101".
    const std::size_t after_sign = !result.empty() && result.front() == '-' ? 1 : 0;
    result.insert(after_sign, HeadOfBase(base));
  }
  memories_[0] = std::move(result);
  shifted_ = true;
}

std::string ParameterStore::MemoryTooltip(int index) const {
  static constexpr std::array<std::string_view, 5> kOrdinals = {"first", "second", "third", "forth",
                                                                "fifth"};
  const std::string number = std::to_string(index + 1);
  if (!shifted_) {
    return std::string("The ")
        .append(kOrdinals[index])
        .append(" lastest result of calculation:last")
        .append(number)
        .append("=0");
  }
  std::string tip = "the ";
  tip.append(kOrdinals[index]).append(" lastest result:last").append(number);
  tip.append("=").append(memories_[index]);
  return tip;
}

const std::string* ParameterStore::Parameter(char letter) const {
  return const_cast<ParameterStore&>(*this).Parameter(letter);
}

std::string* ParameterStore::Parameter(char letter) {
  switch (letter) {
    case 'f':
    case 'F':
      return &settings_.paramF;
    case 'k':
    case 'K':
      return &settings_.paramK;
    case 'm':
    case 'M':
      return &settings_.paramM;
    case 'w':
    case 'W':
      return &settings_.paramW;
    default:
      return nullptr;
  }
}

}  // namespace calvoro
