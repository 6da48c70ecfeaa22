// The calculator window on a series of inputs in any base, with random
// precision and threshold. A line is a Calc command on its text
// (calculations, assignments and equations), or, after "#", keys and
// buttons: "#t" then characters typed one by one, "#b" then a base switch
// (0-4: dec, bin, oct, hex, Mix), "#m" then a memory button (1-5), "#=" the
// Equal key. A refused Calc leaves the memories, the record (log and
// parameters) and SysData.dat as they were, and always says why.
#include <filesystem>
#include <string>

#include "app/calculator_model.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

using calvoro::testing::ReadFile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const calvoro::testing::TestFolder folder("calvoro_fuzz_window");
  static const std::string path = folder.Path("SysData.dat");
  std::filesystem::remove(path);
  calvoro::fuzz::FuzzInput input(data, size);
  calvoro::testing::RecordingSink sink;
  calvoro::CalculatorModel window(path, sink);
  window.data().numberBase = input.Base(true);
  window.data().precision = static_cast<int>(input.Number(0, 100));
  window.data().exponentThreshold = static_cast<int>(input.Number(0, 200));
  window.data().angleRadian = input.Number(0, 1) == 0;
  window.Save();
  while (!input.AtEnd()) {
    const std::string line(input.Line());
    if (line.size() >= 2 && line[0] == '#') {
      const std::string_view rest = std::string_view(line).substr(2);
      const int digit = !rest.empty() && rest[0] >= '0' && rest[0] <= '9' ? rest[0] - '0' : 0;
      switch (line[1]) {
        case 't':
          for (const char c : rest) window.TypeChar(c);
          break;
        case 'b':
          window.BaseCommand(calvoro::fuzz::kBases[digit % 5]);
          break;
        case 'm':
          window.MemoryCommand(digit % 5);
          break;
        case '=':
          window.EqualCommand();
          break;
        default:
          break;
      }
      continue;
    }
    const calvoro::MemoryTexts memories = window.memories();
    const calvoro::CSysData record = window.data();
    const std::string file = ReadFile(path);
    sink.messages.clear();
    if (window.Calculate(line).ok) continue;
    FUZZ_CHECK(!sink.empty());
    FUZZ_CHECK(window.memories() == memories);
    FUZZ_CHECK(window.data() == record);
    FUZZ_CHECK(ReadFile(path) == file);
  }
  return 0;
}
