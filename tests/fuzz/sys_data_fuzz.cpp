// The settings file reader on any bytes (what Load does with the file's
// contents): no crash, and whatever record it read comes back unchanged from
// the bytes Save writes.
#include <cmath>
#include <string_view>

#include "app/sys_data.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::CSysData loaded;
  calvoro::DecodeSysData(std::string_view(reinterpret_cast<const char*>(data), size), loaded);
  const std::string saved = calvoro::EncodeSysData(loaded);
  calvoro::CSysData again;
  FUZZ_CHECK(calvoro::DecodeSysData(saved, again));
  // NaN is the one value that is not equal to itself; the bytes say it.
  if (std::isnan(loaded.spareReal)) {
    FUZZ_CHECK(calvoro::EncodeSysData(again) == saved);
  } else {
    FUZZ_CHECK(again == loaded);
  }
  return 0;
}
