// ExprEngine::Calculate on any text in any base, with random precision,
// exponent threshold and angle mode. Every line of the body is calculated in
// turn and each result shifts into the memories, as in the window, so later
// lines can read Last1..Last5. A refusal must always come with a message,
// and the calculation with the step text must come out as the one without.
#include <string>

#include "engine/expr_engine.h"
#include "engine/parameter_store.h"
#include "engine/refusal.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  calvoro::EngineSettings settings;
  const calvoro::NumberBase base = input.Base(true);
  settings.precision = static_cast<int>(input.Number(0, 300));
  settings.exponentThreshold = static_cast<int>(input.Number(0, 400));
  settings.angleRadian = input.Number(0, 1) == 0;
  calvoro::ExprEngine engine(settings);
  calvoro::ParameterStore store(settings);
  while (!input.AtEnd()) {
    const std::string line(input.Line());
    const auto calculation = engine.Calculate(line, store.memories(), base);
    // With the step text the calculation comes out the same.
    const auto with_steps = engine.Calculate(line, store.memories(), base, true);
    FUZZ_CHECK(with_steps.ok() == calculation.ok());
    if (calculation) {
      FUZZ_CHECK(!calculation->result.empty());
      FUZZ_CHECK(with_steps->result == calculation->result &&
                 with_steps->plainResult == calculation->plainResult &&
                 with_steps->steps.starts_with(calculation->FirstLine(line)));
      store.ShiftMemories(calculation->plainResult, base);
    } else if (calculation.refusal().id == calvoro::RefusalId::kNothingToCalculate) {
      FUZZ_CHECK(calvoro::TrimBlanks(line).empty() || line.find('=') != std::string::npos);
    } else {
      FUZZ_CHECK(!calvoro::DescribeRefusal(calculation.refusal()).text.empty());
    }
  }
  return 0;
}
