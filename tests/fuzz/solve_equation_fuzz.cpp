// ExprEngine::SolveLinearEquation on any text in any base with random
// precision: no crash, and a refusal always comes with a message.
#include <string>

#include "engine/expr_engine.h"
#include "engine/refusal.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  calvoro::EngineSettings settings;
  const calvoro::NumberBase base = input.Base(true);
  settings.precision = static_cast<int>(input.Number(0, 100));
  calvoro::ExprEngine engine(settings);
  const auto solution = engine.SolveLinearEquation(input.Rest(), calvoro::kZeroMemories, base);
  if (solution) {
    FUZZ_CHECK(!solution->value.empty());
  } else {
    FUZZ_CHECK(!calvoro::DescribeRefusal(solution.refusal()).text.empty());
  }
  return 0;
}
