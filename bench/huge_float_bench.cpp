// Core HugeFloat operations at 10^2 .. 10^6 digits, the limb kernels behind
// them, the factorial and a typical typed expression through the engine.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "engine/expr_engine.h"
#include "engine/functions.h"
#include "engine/number_base.h"
#include "numeric/binary_conversion.h"
#include "numeric/huge_float.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/text_arithmetic.h"

namespace {

using calvoro::HugeFloat;

std::string RandomDigits(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::string text(count, '0');
  for (auto& c : text) c = static_cast<char>('0' + rng() % 10);
  text[0] = static_cast<char>('1' + rng() % 9);
  return text;
}

// a (N digits) op b (N / 2 + 1 digits) at precision N.
template <HugeFloat (*Op)(const HugeFloat&, const HugeFloat&, int)>
void BM_Operation(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const HugeFloat a = HugeFloat::FromText(RandomDigits(n, 1));
  const HugeFloat b = HugeFloat::FromText(RandomDigits(n / 2 + 1, 2));
  for (auto _ : state) benchmark::DoNotOptimize(Op(a, b, static_cast<int>(n)));
  state.SetComplexityN(state.range(0));
}

// N digits times N digits.
void BM_MultiplyBalanced(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const HugeFloat a = HugeFloat::FromText(RandomDigits(n, 3));
  const HugeFloat b = HugeFloat::FromText(RandomDigits(n, 4));
  for (auto _ : state) benchmark::DoNotOptimize(calvoro::Multiply(a, b, 10));
}

// N digits times N digits as the operator application does it: from the
// operand texts to the product's text.
void BM_MultiplyTexts(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::string a = RandomDigits(n, 3), b = RandomDigits(n, 4);
  const calvoro::NumberText x = *calvoro::ReadNumber(a, calvoro::Radix::kDecimal);
  const calvoro::NumberText y = *calvoro::ReadNumber(b, calvoro::Radix::kDecimal);
  for (auto _ : state)
    benchmark::DoNotOptimize(calvoro::MultiplyNumberTexts(x, y, calvoro::Radix::kDecimal, 10));
}

// 2N digits by N digits to N fraction digits; 1 / 7 to N digits.
void BM_DivideTwoByOne(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const HugeFloat a = HugeFloat::FromText(RandomDigits(2 * n, 5));
  const HugeFloat b = HugeFloat::FromText(RandomDigits(n, 6));
  for (auto _ : state) benchmark::DoNotOptimize(calvoro::Divide(a, b, static_cast<int>(n)));
}

void BM_DivideOneBySeven(benchmark::State& state) {
  const HugeFloat one = HugeFloat::FromInt(1), seven = HugeFloat::FromInt(7);
  const auto n = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(calvoro::Divide(one, seven, n));
}

// Angle reduction: 10^N modulo 2 Pi (Pi to N + 20 decimals).
void BM_RemainderTwoPi(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const HugeFloat x = HugeFloat::FromText("1" + std::string(n, '0'));
  const HugeFloat two_pi =
      calvoro::Multiply(HugeFloat::FromText(calvoro::PiText(static_cast<int>(n) + 20)),
                        HugeFloat::FromInt(2), static_cast<int>(n) + 20);
  for (auto _ : state) benchmark::DoNotOptimize(calvoro::Remainder(x, two_pi));
}

void BM_ParsePrint(benchmark::State& state) {
  const std::string text = RandomDigits(static_cast<std::size_t>(state.range(0)), 3);
  for (auto _ : state) benchmark::DoNotOptimize(HugeFloat::FromText(text).ToText());
}

void BM_Factorial(benchmark::State& state) {
  const auto n = static_cast<int>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(calvoro::FactorialText(n, calvoro::Radix::kDecimal));
}

// A 30-digit decimal to binary and back (the 100-bit conversion).
void BM_ConvertNumber(benchmark::State& state) {
  struct : calvoro::MessageSink {
    void MessageBox(std::string_view, std::string_view, calvoro::MessageIcon) override {}
    calvoro::Answer Question(std::string_view, std::string_view) override {
      return calvoro::Answer::Ok;
    }
    void InputMessage(std::string_view, std::string_view, std::string_view) override {}
  } sink;
  const std::string decimal = "1267650600228229401496703205375.5";
  for (auto _ : state) {
    using calvoro::NumberBase;
    const std::string bits =
        calvoro::ConvertNumber(NumberBase::Decimal, NumberBase::Binary, decimal, 10, sink);
    benchmark::DoNotOptimize(
        calvoro::ConvertNumber(NumberBase::Binary, NumberBase::Decimal, bits, 10, sink));
  }
}

// Typed expressions at precision 10, through the whole engine: the short
// one of the calculator's own example, and a longer one with functions.
void BM_TypedExpression(benchmark::State& state) {
  const char* const expression =
      state.range(0) == 0 ? "5pi+78(34.5+89.6)" : "5pi+78(34.5+89.6)/3-sqrt(2)*m+fac(25)-1/7";
  struct : calvoro::MessageSink {
    void MessageBox(std::string_view, std::string_view, calvoro::MessageIcon) override {}
    calvoro::Answer Question(std::string_view, std::string_view) override {
      return calvoro::Answer::Ok;
    }
    void InputMessage(std::string_view, std::string_view, std::string_view) override {}
  } sink;
  calvoro::EngineSettings settings;
  calvoro::ExprEngine engine(settings, sink);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        engine.Calculate(expression, calvoro::kZeroMemories, calvoro::NumberBase::Decimal));
  }
}

BENCHMARK(BM_Operation<calvoro::Add>)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_Operation<calvoro::Multiply>)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_Operation<calvoro::Divide>)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_MultiplyBalanced)
    ->RangeMultiplier(10)
    ->Range(100, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MultiplyTexts)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DivideTwoByOne)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DivideOneBySeven)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_RemainderTwoPi)->RangeMultiplier(10)->Range(100, 10000);
BENCHMARK(BM_ParsePrint)->RangeMultiplier(10)->Range(100, 1000000);
BENCHMARK(BM_Factorial)->Arg(1000)->Arg(10000)->Arg(60000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertNumber);
BENCHMARK(BM_TypedExpression)->Arg(0)->Arg(1);

// A pasted column through the whole engine: `count` numbers of `digits`
// digits joined by "+".
void BM_PastedSum(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const auto digits = static_cast<std::size_t>(state.range(1));
  std::string expression;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) expression += '+';
    for (std::size_t d = 0; d < digits; ++d) expression += static_cast<char>('1' + (i + d) % 9);
  }
  calvoro::SilentSink sink;
  calvoro::EngineSettings settings;
  calvoro::ExprEngine engine(settings, sink);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        engine.Calculate(expression, calvoro::kZeroMemories, calvoro::NumberBase::Decimal));
  }
}
BENCHMARK(BM_PastedSum)
    ->Args({10000, 10})
    ->Args({1000, 1000})
    ->Args({100, 100000})
    ->Unit(benchmark::kMillisecond);

}  // namespace
