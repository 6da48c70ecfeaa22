// CheckSyntax on any text in any base: a refusal names a position inside the
// text (or none) and carries a message.
#include "engine/syntax_check.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  const calvoro::NumberBase base = input.Base(true);
  const std::string_view text = input.Rest();
  const calvoro::Status status = calvoro::CheckSyntax(text, base);
  if (!status) {
    FUZZ_CHECK(!calvoro::DescribeRefusal(status.refusal()).text.empty());
    const int position = calvoro::SyntaxPosition(status.refusal());
    FUZZ_CHECK(position >= 0 && static_cast<std::size_t>(position) <= text.size() + 1);
  }
  return 0;
}
