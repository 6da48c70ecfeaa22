// The complex operations in double precision.
#include "complex/complex_number.h"

#include <algorithm>
#include <cmath>

#include "numeric/number_text.h"

namespace calvoro {
namespace {

ComplexNumber Polar(double radius, double angle) {
  return {radius * std::cos(angle), radius * std::sin(angle)};
}

// (e^x + e^-x)/2 and (e^x - e^-x)/2, written out as the dialog does.
double Cosh(double x) { return (std::exp(x) + std::exp(-x)) / 2; }
double Sinh(double x) { return (std::exp(x) - std::exp(-x)) / 2; }

}  // namespace

bool ComplexNumber::IsFinite() const { return std::isfinite(re) && std::isfinite(im); }

std::string ComplexText(ComplexNumber z) {
  std::string text = z.re == 0 ? std::string() : ShortFixedText(z.re);
  if (z.im > 0) {
    if (!text.empty()) text += '+';
    return text + ShortFixedText(z.im) + 'j';
  }
  if (z.im < 0) return text + '-' + ShortFixedText(-z.im) + 'j';
  return text.empty() ? ShortFixedText(z.re) : text;
}

ComplexNumber Add(ComplexNumber a, ComplexNumber b) { return {a.re + b.re, a.im + b.im}; }

ComplexNumber Subtract(ComplexNumber a, ComplexNumber b) { return {a.re - b.re, a.im - b.im}; }

ComplexNumber Multiply(ComplexNumber a, ComplexNumber b) {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

ComplexNumber Divide(ComplexNumber a, ComplexNumber b) {
  // Scaled by the larger part of the divisor, so that c^2 + d^2 never
  // overflows.
  if (std::abs(b.im) <= std::abs(b.re)) {
    const double r = b.im / b.re;
    const double s = 1 / (b.re + b.im * r);
    return {(a.re + a.im * r) * s, (a.im - a.re * r) * s};
  }
  const double r = b.re / b.im;
  const double s = 1 / (b.im + b.re * r);
  return {(a.re * r + a.im) * s, (a.im * r - a.re) * s};
}

double Module(ComplexNumber a) {
  const double x = std::abs(a.re), y = std::abs(a.im);
  if (x == 0) return y;
  if (y == 0) return x;
  const double p = std::max(x, y), q = std::min(x, y);
  return p * std::sqrt((q / p) * (q / p) + 1);
}

ComplexNumber Log(ComplexNumber a) {
  return {std::log(std::sqrt(a.re * a.re + a.im * a.im)), std::atan2(a.im, a.re)};
}

ComplexNumber Sin(ComplexNumber a) {
  return {std::sin(a.re) * Cosh(a.im), std::cos(a.re) * Sinh(a.im)};
}

ComplexNumber Cos(ComplexNumber a) {
  return {std::cos(a.re) * Cosh(a.im), -std::sin(a.re) * Sinh(a.im)};
}

ComplexNumber Tan(ComplexNumber a) { return Divide(Sin(a), Cos(a)); }

double PowerAngle(ComplexNumber a) {
  if (a.re != 0) return std::atan2(a.im, a.re);
  return a.im > 0 ? kPowerHalfPi : -kPowerHalfPi;
}

ComplexNumber RealPower(ComplexNumber a, double n) {
  if (a.IsZero()) return {};
  return Polar(std::pow(Module(a), n), n * PowerAngle(a));
}

ComplexNumber ComplexPower(ComplexNumber a, ComplexNumber b, int k) {
  if (a.IsZero()) return {};
  const double theta = a.re != 0 ? std::atan2(a.im, a.re) + k * kBranchTurn
                                 : ((a.im > 0 ? 1 : -1) + 4 * k) * kPowerHalfPi;
  const double l = std::log(Module(a));
  return Polar(std::exp(b.re * l - b.im * theta), b.im * l + b.re * theta);
}

std::vector<ComplexNumber> Roots(ComplexNumber a, int n) {
  std::vector<ComplexNumber> roots;
  if (n < 1) return roots;
  const double radius = a.IsZero() ? 0 : std::exp(std::log(Module(a)) / n);
  const double angle = std::atan2(a.im, a.re);
  roots.reserve(n);
  for (int i = 0; i < n; ++i) roots.push_back(Polar(radius, (angle + i * kRootTurn) / n));
  return roots;
}

}  // namespace calvoro
