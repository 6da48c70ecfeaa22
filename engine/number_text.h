// Double texts of the complex and matrix calculators: numbers typed into
// their edits are read the way atof reads them, results are printed the way
// "%f" prints them. Both are locale independent.
#pragma once

#include <string>
#include <string_view>

namespace calvoro {

// The number at the start of `text` in atof's manner: leading white space,
// a sign, digits, a point, an exponent ("inf" and "nan" too); reading stops
// at the first other character and a text without a number gives 0.
double ReadLeadingDouble(std::string_view text);

// "%f": six fraction digits, zeros kept (5.000000); infinities and
// not-a-numbers as the C library prints them ("inf", "-nan").
std::string FixedText(double value);

// "%f" with trailing fraction zeros and a bare point removed (2.5, 3); a
// value that prints as "-0" shows "0".
std::string ShortFixedText(double value);

}  // namespace calvoro
