// The functions through MPFR. Every computation runs twice: first with a
// 64-bit result, which gives its magnitude (and the refusals beyond the
// range), then with as many bits as the kept digits and the guard digits
// need. Arguments are read with that many bits beyond their own digits (in
// radix 2, 8 and 16 exactly), so that a result near zero or near a pole keeps
// its relative accuracy too; MPFR reduces large angles exactly.
#include "numeric/precise_functions.h"

#include <mpfr.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <unordered_set>

#include "numeric/number_text.h"
#include "numeric/stop.h"

namespace calvoro {
namespace {

constexpr mpfr_prec_t kEstimateBits = 64;
// Beyond its own digits, an argument of the first run is read with this
// many bits; one of the second run with the result's bits and kSpareBits.
constexpr mpfr_prec_t kEstimateArgumentBits = 128;
constexpr mpfr_prec_t kSpareBits = 64;
// Guard digits beyond the kept ones, as bits (about 12 decimal digits).
constexpr double kGuardBits = 40;

class Number {
 public:
  explicit Number(mpfr_prec_t bits) {
    mpfr_init2(value_, std::max(bits, mpfr_prec_t{MPFR_PREC_MIN}));
  }
  ~Number() { mpfr_clear(value_); }
  Number(const Number&) = delete;
  Number& operator=(const Number&) = delete;
  mpfr_ptr get() { return value_; }
  operator mpfr_ptr() { return value_; }
  mpfr_prec_t bits() const { return mpfr_get_prec(value_); }

 private:
  mpfr_t value_;
};

double BitsPerDigit(Radix radix) {
  switch (radix) {
    case 2:
      return 1;
    case 8:
      return 3;
    case 16:
      return 4;
    default:
      return std::log2(10.0);
  }
}

mpfr_prec_t BitsFor(double digits, Radix radix) {
  return static_cast<mpfr_prec_t>(std::ceil(digits * BitsPerDigit(radix))) + 1;
}

// A number text as digits times radix^exponent, the digits without leading
// or trailing zeros (none for zero).
class Argument {
 public:
  // `text` is a number of the radix, in brackets or with a "+" as the
  // evaluator may hand it on; anything else is refused.
  Argument(std::string_view text, Radix radix) : radix_(radix) {
    const auto number = ReadNumber(text, radix, {.plus = true, .brackets = true});
    if (!number) throw std::invalid_argument("ERROR: Not a number of the radix!");
    negative_ = number->negative;
    digits_.reserve(number->integer.size() + number->fraction.size());
    digits_.append(number->integer).append(number->fraction);
    exponent_ = -static_cast<long long>(number->fraction.size());
    const std::size_t first = digits_.find_first_not_of('0');
    if (first == std::string::npos) {
      digits_.clear();
      return;
    }
    const std::size_t last = digits_.find_last_not_of('0');
    exponent_ += static_cast<long long>(digits_.size() - 1 - last);
    digits_.erase(last + 1);
    digits_.erase(0, first);
  }

  bool zero() const { return digits_.empty(); }
  bool negative() const { return negative_; }
  // Digits before the point (0 below 1).
  long long IntegerDigits() const {
    return std::max<long long>(0, static_cast<long long>(digits_.size()) + exponent_);
  }

  // Sets `x` to the value: exactly in radix 2, 8 and 16, in radix 10 with
  // `extra` bits beyond the argument's own digits.
  void Read(Number& x, mpfr_prec_t extra) const {
    // An integer's trailing zeros count: 10^1000 needs 2322 bits.
    const long long digits = static_cast<long long>(digits_.size()) + std::max(exponent_, 0LL);
    mpfr_prec_t bits = BitsFor(static_cast<double>(std::max(digits, 1LL)), radix_);
    if (radix_ == 10) bits += extra;
    mpfr_set_prec(x, bits);
    if (zero()) {
      mpfr_set_zero(x, 1);
      return;
    }
    std::string text;
    text.reserve(digits_.size() + 24);
    if (negative_) text += '-';
    text.append(digits_).append("@").append(std::to_string(exponent_));
    mpfr_set_str(x, text.c_str(), radix_, MPFR_RNDN);
  }

 private:
  Radix radix_;
  bool negative_ = false;
  std::string digits_;
  long long exponent_ = 0;
};

// Pi with `bits` bits.
void SetPi(Number& pi, mpfr_prec_t bits) {
  mpfr_set_prec(pi, bits);
  mpfr_const_pi(pi, MPFR_RNDN);
}

// Computes the value into `out` (whose precision is set); `extra` is the
// precision arguments are read with beyond their own digits.
using Kernel = std::function<void(Number& out, mpfr_prec_t extra)>;

// The value of `x` as a text of the radix with `count` significant digits,
// rounded to nearest.
std::string RadixText(Number& x, Radix radix, long long count) {
  mpfr_exp_t exponent = 0;
  char* raw =
      mpfr_get_str(nullptr, &exponent, radix, static_cast<std::size_t>(count), x, MPFR_RNDN);
  std::string_view digits(raw);
  std::string text;
  if (!digits.empty() && digits.front() == '-') {
    text += '-';
    digits.remove_prefix(1);
  }
  const auto length = static_cast<long long>(digits.size());
  text.reserve(text.size() + digits.size() + static_cast<std::size_t>(std::abs(exponent)) + 3);
  if (exponent <= 0) {
    text.append("0.").append(static_cast<std::size_t>(-exponent), '0').append(digits);
  } else if (exponent >= length) {
    text.append(digits).append(static_cast<std::size_t>(exponent - length), '0');
  } else {
    text.append(digits.substr(0, static_cast<std::size_t>(exponent)))
        .append(".")
        .append(digits.substr(static_cast<std::size_t>(exponent)));
  }
  mpfr_free_str(raw);
  return text;
}

// A status for what the last computation into `x` met, if it has no value.
bool Failed(Number& x, PreciseResult& result) {
  using Status = PreciseResult::Status;
  if (mpfr_nan_p(x)) {
    result.status = Status::kNoValue;
  } else if (mpfr_inf_p(x) || mpfr_overflow_p()) {
    result.status = Status::kTooLarge;
  } else if (mpfr_underflow_p()) {
    result.status = Status::kTooSmall;
  } else {
    return false;
  }
  return true;
}

PreciseResult Evaluate(Radix radix, int digits, const Kernel& kernel) {
  using Status = PreciseResult::Status;
  PreciseResult result;
  Number estimate(kEstimateBits);
  mpfr_clear_flags();
  kernel(estimate, kEstimateArgumentBits);
  if (Failed(estimate, result)) return result;
  if (mpfr_zero_p(estimate)) {
    result.text = "0";
    return result;
  }
  // abs(value) lies in [2^(e-1), 2^e).
  const long long e = mpfr_get_exp(estimate);
  const double per_digit = BitsPerDigit(radix);
  const long long integer_digits =
      e > 0 ? static_cast<long long>(std::ceil(static_cast<double>(e) / per_digit)) : 0;
  if (integer_digits > kMaxFunctionDigits) {
    result.status = Status::kTooLarge;
    return result;
  }
  if (e <= 0 && std::floor(static_cast<double>(1 - e) / per_digit) > kMaxFunctionDigits) {
    result.status = Status::kTooSmall;
    return result;
  }
  const long long count =
      integer_digits + digits + static_cast<long long>(std::ceil(kGuardBits / per_digit));
  Number value(BitsFor(static_cast<double>(count), radix) + 16);
  mpfr_clear_flags();
  kernel(value, value.bits() + kSpareBits);
  if (Failed(value, result)) return result;
  result.text = mpfr_zero_p(value) ? std::string("0") : RadixText(value, radix, count);
  return result;
}

// out = function(x), with `work` bits for the steps before the last.
void Apply(PreciseFunction function, Number& out, Number& x, mpfr_prec_t work, bool degrees) {
  constexpr mpfr_rnd_t kNearest = MPFR_RNDN;
  Number t(work), pi(kEstimateBits);
  const auto to_radians = [&] {
    SetPi(pi, work);
    mpfr_mul(t, x, pi, kNearest);
    mpfr_div_ui(t, t, 180, kNearest);
  };
  // The angle argument of a trigonometric or hyperbolic function.
  mpfr_ptr angle = x;
  const bool trigonometric =
      function >= PreciseFunction::kSin && function <= PreciseFunction::kTanh;
  if (degrees && trigonometric) {
    to_radians();
    angle = t;
  }
  // An inverse function's result in degrees: computed into t, then scaled.
  const bool inverse = function >= PreciseFunction::kArcSin && function <= PreciseFunction::kArcSec;
  mpfr_ptr target = degrees && inverse ? t.get() : out.get();
  switch (function) {
    case PreciseFunction::kSqrt:
      mpfr_sqrt(out, x, kNearest);
      return;
    case PreciseFunction::kExp:
      mpfr_exp(out, x, kNearest);
      return;
    case PreciseFunction::kLn:
      mpfr_log(out, x, kNearest);
      return;
    case PreciseFunction::kLog:
      mpfr_log10(out, x, kNearest);
      return;
    case PreciseFunction::kSin:
      mpfr_sin(out, angle, kNearest);
      return;
    case PreciseFunction::kCos:
      mpfr_cos(out, angle, kNearest);
      return;
    case PreciseFunction::kTan:
      mpfr_tan(out, angle, kNearest);
      return;
    case PreciseFunction::kSec:
      mpfr_sec(out, angle, kNearest);
      return;
    case PreciseFunction::kCot:
      mpfr_cot(out, angle, kNearest);
      return;
    case PreciseFunction::kCsc:
      mpfr_csc(out, angle, kNearest);
      return;
    case PreciseFunction::kSinh:
      mpfr_sinh(out, angle, kNearest);
      return;
    case PreciseFunction::kCosh:
      mpfr_cosh(out, angle, kNearest);
      return;
    case PreciseFunction::kTanh:
      mpfr_tanh(out, angle, kNearest);
      return;
    case PreciseFunction::kArcSin:
      mpfr_asin(target, x, kNearest);
      break;
    case PreciseFunction::kArcCos:
      mpfr_acos(target, x, kNearest);
      break;
    case PreciseFunction::kArcTan:
      mpfr_atan(target, x, kNearest);
      break;
    case PreciseFunction::kArcSec: {
      Number inverse_x(work);
      mpfr_ui_div(inverse_x, 1, x, kNearest);
      mpfr_acos(target, inverse_x, kNearest);
      break;
    }
    case PreciseFunction::kToDegrees:
      SetPi(pi, work);
      mpfr_mul_ui(t, x, 180, kNearest);
      mpfr_div(out, t, pi, kNearest);
      return;
    case PreciseFunction::kToRadians:
      SetPi(pi, work);
      mpfr_mul(t, x, pi, kNearest);
      mpfr_div_ui(out, t, 180, kNearest);
      return;
  }
  if (target != out.get()) {
    SetPi(pi, work);
    mpfr_mul_ui(t, t, 180, kNearest);
    mpfr_div(out, t, pi, kNearest);
  }
}

// Stopping. MPFR cannot be interrupted, and one call at a million digits
// takes seconds. So while a stop flag is watched, a computation of more than
// kInlineDigits digits runs on a worker thread of its own, and the calling
// thread waits for it, watching the flag. When the flag is set the caller
// leaves at once (CalculationStopped) and abandons the worker. The worker
// owns everything it touches (copies of the arguments, its MPFR numbers, its
// thread-local MPFR caches and flags, its result slot, shared with the caller
// only through a shared_ptr), so nothing the caller frees is used after it
// left. To end an abandoned worker soon instead of letting it burn a
// processor for seconds, GMP allocates through hooks that throw
// WorkerAbandoned in an abandoned worker: GMP and MPFR are C code built with
// unwind tables, so the exception passes their frames and the worker ends;
// the hooks note every block GMP holds for a worker, and what the
// interrupted call left (its temporaries, its caches) is freed then.
// Polling inside MPFR is impossible, a longjmp would skip the worker's own
// destructors, and a child process would have to copy the calculation. A small computation runs
// inline: it ends within milliseconds, and the flag is checked right after it.
constexpr long long kInlineDigits = 5000;

// Thrown by the allocation hooks in an abandoned worker.
struct WorkerAbandoned {};

thread_local const std::atomic<bool>* abandoned_worker = nullptr;
// The blocks GMP holds for a worker, freed when it ends: an interrupted
// call leaves its temporaries behind.
thread_local std::unordered_set<void*>* worker_blocks = nullptr;

void CheckAbandoned() {
  if (abandoned_worker != nullptr && abandoned_worker->load(std::memory_order_relaxed))
    throw WorkerAbandoned();
}

[[noreturn]] void OutOfMemory() {
  if (abandoned_worker != nullptr) throw std::bad_alloc();  // the worker hands it on
  std::fputs("GNU MP: Cannot allocate memory\n", stderr);
  std::abort();
}

void* Allocate(std::size_t size) {
  CheckAbandoned();
  void* block = std::malloc(size);
  if (block == nullptr) OutOfMemory();
  if (worker_blocks != nullptr) worker_blocks->insert(block);
  return block;
}

void* Reallocate(void* block, std::size_t, std::size_t size) {
  CheckAbandoned();
  void* moved = std::realloc(block, size);
  if (moved == nullptr) OutOfMemory();
  if (worker_blocks != nullptr && moved != block) {
    worker_blocks->erase(block);
    worker_blocks->insert(moved);
  }
  return moved;
}

void Release(void* block, std::size_t) {
  if (worker_blocks != nullptr) worker_blocks->erase(block);
  std::free(block);
}

template <typename Result>
struct Worker {
  std::function<Result()> work;
  std::atomic<bool> abandoned{false};
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  Result result{};
  std::exception_ptr error;
};

// work(), stopped by the calling thread's stop flag; `digits` is the size
// of the work in digits. `work` must own what it uses.
template <typename Result>
Result RunStoppable(std::function<Result()> work, long long digits) {
  const StopFlag* flag = CurrentStopFlag();
  // Without thread-local MPFR state a second thread would share its caches.
  if (flag == nullptr || digits <= kInlineDigits || !mpfr_buildopt_tls_p()) {
    Result result = work();
    ThrowIfStopped();
    return result;
  }
  static std::once_flag hooks;
  std::call_once(hooks, [] { mp_set_memory_functions(Allocate, Reallocate, Release); });
  auto state = std::make_shared<Worker<Result>>();
  state->work = std::move(work);
  std::thread worker([state] {
    std::unordered_set<void*> blocks;
    worker_blocks = &blocks;
    abandoned_worker = &state->abandoned;
    try {
      Result result = state->work();
      std::lock_guard<std::mutex> lock(state->mutex);
      state->result = std::move(result);
    } catch (const WorkerAbandoned&) {
    } catch (...) {
      std::lock_guard<std::mutex> lock(state->mutex);
      state->error = std::current_exception();
    }
    ReleaseThreadCaches();
    abandoned_worker = nullptr;
    worker_blocks = nullptr;
    for (void* block : blocks) std::free(block);
    std::lock_guard<std::mutex> lock(state->mutex);
    state->done = true;
    state->finished.notify_all();
  });
  std::unique_lock<std::mutex> lock(state->mutex);
  while (!state->done) {
    if (flag->requested()) {
      state->abandoned = true;
      lock.unlock();
      worker.detach();
      throw CalculationStopped();
    }
    state->finished.wait_for(lock, std::chrono::milliseconds(10));
  }
  lock.unlock();
  worker.join();
  if (state->error) std::rethrow_exception(state->error);
  return std::move(state->result);
}

}  // namespace

PreciseResult ComputeFunction(PreciseFunction function, std::string_view argument, Radix radix,
                              int digits, bool degrees) {
  auto a = std::make_shared<const Argument>(argument, radix);
  const long long size = digits + a->IntegerDigits();
  return RunStoppable<PreciseResult>(
      [=] {
        return Evaluate(radix, digits, [&](Number& out, mpfr_prec_t extra) {
          Number x(kEstimateBits);
          a->Read(x, extra);
          Apply(function, out, x, std::max(x.bits(), out.bits()) + kSpareBits, degrees);
        });
      },
      size);
}

PreciseResult ComputePower(std::string_view base, std::string_view exponent, Radix radix,
                           int digits) {
  auto b = std::make_shared<const Argument>(base, radix);
  auto n = std::make_shared<const Argument>(exponent, radix);
  if (b->negative() && !b->zero()) return {PreciseResult::Status::kNoValue, {}};
  // d(b^n)/b^n = n db/b + ln(b) dn: the base needs the exponent's size in
  // bits more, the exponent the size of ln(b) (at most 64 bits more).
  const mpfr_prec_t exponent_size = BitsFor(static_cast<double>(n->IntegerDigits()), radix);
  return RunStoppable<PreciseResult>(
      [=] {
        return Evaluate(radix, digits, [&](Number& out, mpfr_prec_t extra) {
          Number x(kEstimateBits), y(kEstimateBits);
          b->Read(x, extra + exponent_size);
          n->Read(y, extra + kSpareBits);
          mpfr_pow(out, x, y, MPFR_RNDN);
        });
      },
      digits + b->IntegerDigits() + n->IntegerDigits());
}

void ReleaseThreadCaches() { mpfr_free_cache2(MPFR_FREE_LOCAL_CACHE); }

std::string PiDigits(Radix radix, int digits) {
  static std::mutex mutex;
  static std::string kept[17];                   // by radix
  const std::size_t point = radix == 2 ? 2 : 1;  // "11." in binary, "3." otherwise
  const std::size_t wanted = point + 1 + static_cast<std::size_t>(std::max(digits, 0));
  std::unique_lock<std::mutex> lock(mutex);
  if (kept[radix].size() < wanted) {
    // Made outside the lock, which a stopped making would otherwise keep;
    // in steps of 500 digits, so that growing requests seldom repeat it.
    lock.unlock();
    const int made = (std::max(digits, 1) + 499) / 500 * 500;
    std::string text = RunStoppable<std::string>(
        [=] {
          Number pi(BitsFor(made + 2.0, radix) + kSpareBits);
          mpfr_const_pi(pi, MPFR_RNDN);
          mpfr_exp_t exponent = 0;
          char* raw = mpfr_get_str(nullptr, &exponent, radix,
                                   point + static_cast<std::size_t>(made), pi, MPFR_RNDZ);
          std::string all(raw);
          mpfr_free_str(raw);
          for (char& c : all) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          return all.substr(0, point) + "." + all.substr(point);
        },
        made);
    lock.lock();
    if (kept[radix].size() < text.size()) kept[radix] = std::move(text);
  }
  const std::string& text = kept[radix];
  if (digits <= 0) return text.substr(0, point);
  return text.substr(0, wanted);
}

}  // namespace calvoro
