// The matrix dialog on any texts for A and B and any button: no crash, no
// allocation beyond the element bound, a refusal always reported.
#include "matrix/matrix_model.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/recording_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  const auto operation = static_cast<calvoro::MatrixOperation>(input.Number(0, 3));
  calvoro::testing::RecordingSink sink;
  calvoro::MatrixModel dialog(sink);
  // A and B are split at a form feed, so that either may hold many lines.
  const std::string_view body = input.Rest();
  const std::size_t split = body.find('\f');
  dialog.a = body.substr(0, split);
  if (split != std::string_view::npos) dialog.b = body.substr(split + 1);
  if (!dialog.Press(operation)) FUZZ_CHECK(!sink.empty());
  return 0;
}
