// ComplexNumber, its text form and the operations of the complex operations
// dialog, each with the formula and constants the dialog has always used.
#pragma once

#include <string>
#include <vector>

namespace calvoro {

struct ComplexNumber {
  double re = 0;
  double im = 0;

  bool operator==(const ComplexNumber&) const = default;
  bool IsZero() const { return re == 0 && im == 0; }
  bool IsFinite() const;
};

// Pi/2 as the power rules write it, and the full turns of the branch number
// and of the roots (the roots' turn is short by about 1.07e-7).
inline constexpr double kPowerHalfPi = 1.5707963268;
inline constexpr double kBranchTurn = 6.28318530717958;
inline constexpr double kRootTurn = 6.2831852;

// Each part as ShortFixedText; "3+4j", "-2j", "-1.5", "0".
std::string ComplexText(ComplexNumber z);

ComplexNumber Add(ComplexNumber a, ComplexNumber b);
ComplexNumber Subtract(ComplexNumber a, ComplexNumber b);
ComplexNumber Multiply(ComplexNumber a, ComplexNumber b);
// The scaled division; a zero divisor gives not-a-numbers.
ComplexNumber Divide(ComplexNumber a, ComplexNumber b);

// abs(A) without overflow: p * sqrt((q/p)^2 + 1).
double Module(ComplexNumber a);
// ln(abs(A)) + atan2(b, a)j.
ComplexNumber Log(ComplexNumber a);
ComplexNumber Sin(ComplexNumber a);
ComplexNumber Cos(ComplexNumber a);
ComplexNumber Tan(ComplexNumber a);

// The angle of a non-zero A used by both powers: atan2, or +-kPowerHalfPi
// on the imaginary axis.
double PowerAngle(ComplexNumber a);
// A^n for real n in polar form; 0 when A is 0.
ComplexNumber RealPower(ComplexNumber a, double n);
// A^B on branch k (0 is the principal branch); 0 when A is 0.
ComplexNumber ComplexPower(ComplexNumber a, ComplexNumber b, int k = 0);
// The n roots of A, root i at angle (atan2(b, a) + i * kRootTurn) / n;
// none for n below 1.
std::vector<ComplexNumber> Roots(ComplexNumber a, int n);

}  // namespace calvoro
