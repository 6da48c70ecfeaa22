// ExpandExponents on any text: no crash, and the text grows by a bounded
// amount however many exponents it holds.
#include "tests/fuzz/fuzz_input.h"
#include "units/unit_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  const std::string_view text = input.Rest();
  const std::string expanded = calvoro::ExpandExponents(text);
  FUZZ_CHECK(expanded.size() <= text.size() + calvoro::kMaxExpansionGrowth);
  return 0;
}
