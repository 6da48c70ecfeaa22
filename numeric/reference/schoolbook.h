// The digit-by-digit schoolbook multiplication and division of HugeFloat:
// one byte per digit, cost growing with the product of the lengths. Kept as
// the oracle that the fast limb kernels are tested against; nothing in the
// product calls it.
#pragma once

#include "numeric/huge_float.h"

namespace calvoro::reference {

// The same contracts as the functions of the same names in huge_float.h.
HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision);
HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision);
void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n);
HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b);
HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b);

// Integer digit arrays (least significant first, no leading zeros).
Digits MultiplyIntegers(const Digits& a, const Digits& b, int radix);
void DivideIntegers(const Digits& x, const Digits& y, int radix, Digits& quotient,
                    Digits& remainder);

}  // namespace calvoro::reference
