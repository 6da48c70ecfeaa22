// The complex-style window's Calculate on any operand texts and expression:
// no crash, a failure always reported, a success printed as a value.
#include "complex/complex_models.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/recording_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  calvoro::testing::RecordingSink sink;
  calvoro::ComplexModel window(sink);
  for (auto& operand : window.operands) {
    operand.re = input.Line();
    operand.im = input.Line();
  }
  window.expression = input.Rest();
  if (window.Calculate()) {
    FUZZ_CHECK(!window.output().empty());
  } else {
    FUZZ_CHECK(!sink.empty());
  }
  return 0;
}
