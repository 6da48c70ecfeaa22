// Core HugeFloat operations on random operands of 10^2 .. 10^4 digits.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "numeric/huge_float.h"

namespace {

using calvoro::HugeFloat;

std::string RandomDigits(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::string text(count, '0');
  for (auto& c : text) c = static_cast<char>('0' + rng() % 10);
  text[0] = static_cast<char>('1' + rng() % 9);
  return text;
}

template <HugeFloat (*Op)(const HugeFloat&, const HugeFloat&, int)>
void BM_Operation(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const HugeFloat a = HugeFloat::FromText(RandomDigits(n, 1));
  const HugeFloat b = HugeFloat::FromText(RandomDigits(n / 2 + 1, 2));
  for (auto _ : state) benchmark::DoNotOptimize(Op(a, b, static_cast<int>(n)));
  state.SetComplexityN(state.range(0));
}

void BM_ParsePrint(benchmark::State& state) {
  const std::string text = RandomDigits(static_cast<std::size_t>(state.range(0)), 3);
  for (auto _ : state) benchmark::DoNotOptimize(HugeFloat::FromText(text).ToText());
}

BENCHMARK(BM_Operation<calvoro::Add>)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_Operation<calvoro::Multiply>)->RangeMultiplier(10)->Range(100, 10000);
BENCHMARK(BM_Operation<calvoro::Divide>)->RangeMultiplier(10)->Range(100, 10000);
BENCHMARK(BM_ParsePrint)->RangeMultiplier(10)->Range(100, 1000000);

}  // namespace
