// The number-theoretic convolution against the schoolbook sum, with and
// without the vector units, at lengths around the transform's split points.
#include "numeric/ntt.h"

#include <gtest/gtest.h>

#include <random>

namespace calvoro::ntt {
namespace {

using Wide = unsigned __int128;

// c[k] from the three residues, as the header gives it.
Wide Coefficient(const std::array<std::vector<std::uint32_t>, 3>& out, std::size_t k) {
  return Wide{out[0][k]} + Wide{kPrimes[0]} * (Wide{out[1][k]} + (Wide{out[2][k]} << 32));
}

TEST(NttTest, MatchesTheSchoolbookSumWithAndWithoutVectorUnits) {
  std::mt19937_64 rng(5);
  const std::size_t lengths[][2] = {{1, 1},      {3, 17},      {16, 16},    {31, 33},
                                    {200, 1000}, {1024, 1024}, {1500, 2600}};
  for (bool vectors : {true, false}) {
    SetVectorUnitsAllowed(vectors);
    for (const auto& length : lengths) {
      // Limbs of 10^9 - 1 at most, the largest the arithmetic feeds in.
      std::vector<std::uint32_t> a(length[0]), b(length[1]);
      for (auto& x : a) x = static_cast<std::uint32_t>(rng() % 1000000000u);
      for (auto& x : b) x = static_cast<std::uint32_t>(rng() % 1000000000u);
      a.back() = b.back() = 999999999u;
      std::array<std::vector<std::uint32_t>, 3> out;
      Convolve(a, b, out);
      for (std::size_t k = 0; k < a.size() + b.size() - 1; ++k) {
        Wide sum = 0;
        for (std::size_t j = k >= b.size() ? k - b.size() + 1 : 0; j <= k && j < a.size(); ++j)
          sum += Wide{a[j]} * b[k - j];
        ASSERT_TRUE(Coefficient(out, k) == sum) << "vectors " << vectors << " k " << k;
      }
      std::array<std::vector<std::uint32_t>, 3> square;
      Convolve(a, a, square);
      Wide first = Wide{a[0]} * a[0];
      ASSERT_TRUE(Coefficient(square, 0) == first) << "vectors " << vectors;
    }
  }
  SetVectorUnitsAllowed(true);
}

}  // namespace
}  // namespace calvoro::ntt
