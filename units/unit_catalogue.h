// The built-in unit catalogue and the conversion rule: a conversion is an
// ordinary decimal expression (value * from factor / to factor) evaluated by
// the expression engine, so the factors' full decimal texts reach the exact
// arithmetic. Factors are spliced as text and never evaluated at load.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/expr_engine.h"
#include "engine/refusal.h"

namespace calvoro {

// One unit: its display name and the value of one of it in the category's
// base unit, as text ("0.0254", "24*60*60", "1/3.6"). The two temperature
// rows hold formulas in x instead.
struct UnitRow {
  std::string name;
  std::string factor;

  bool operator==(const UnitRow&) const = default;
};
using UnitList = std::vector<UnitRow>;

// The thirteen category names, in catalogue order.
inline constexpr std::array<std::string_view, 13> kUnitCategories = {
    "area", "length",      "mass",  "volume", "force",    "power",   "energy",
    "time", "temperature", "press", "speed",  "prefixes", "currency"};

// Conversions evaluate with this many digits beyond the working precision and
// are rounded once, to the precision setting, at the end.
inline constexpr int kGuardDigits = 10;

// The rows of a category in catalogue order. The name is matched after
// trimming and lower-casing; an unknown name gives an empty list.
UnitList CategoryUnits(std::string_view name);

// A factor that is a formula in x (the temperature rows).
bool IsFormulaFactor(std::string_view factor);

// Every number written in exponent form (1.5e3, 2E-4, 3e+2) rewritten in
// plain decimal digits. ( ) * + - / ^ and x separate the numbers; a sign
// right after the exponent letter belongs to the number. Exponents beyond
// kMaxExpandedExponent are left as they are, and so are those that would
// make the text more than kMaxExpansionGrowth characters longer in all (a
// pasted text of many "1e9999" would otherwise grow ten-thousandfold).
inline constexpr std::size_t kMaxExpansionGrowth = 1'000'000;
std::string ExpandExponents(std::string_view text);

// value + "*(" + from factor + ")/(" + to factor + ")", the factors through
// ExpandExponents. The trimmed value goes in unchanged unless it is an
// expression, which is bracketed so that it multiplies as a whole.
std::string BuildConversionText(std::string_view value, const UnitRow& from, const UnitRow& to);

// A formula in x with the value put in place of every x (bracketed when it
// is negative or an expression).
std::string SubstituteFormula(std::string_view formula, std::string_view value);

// The display steps of a conversion result: leading and trailing zeros
// stripped, the fraction rounded to the precision setting, exponent notation
// by the precision and the threshold.
std::string RoundConversionResult(std::string_view result, const EngineSettings& settings);

// A factor as the unit lists show it: lower-cased, exponents expanded, and,
// when it is a plain number, in exponent notation by the settings. Formulas
// and fractions are shown as written.
std::string FormatFactorText(std::string_view factor, const EngineSettings& settings);

// The conversion engine of one window: the unit list of the category loaded
// last, and the evaluation of conversion texts in base 10.
class UnitEngine {
 public:
  explicit UnitEngine(const EngineSettings& settings);

  // Replaces the unit list with the rows of the named category (empty for an
  // unknown name; nothing is reported).
  void LoadUnitCategory(std::string_view name);
  const UnitList& units() const { return units_; }

  // The value converted from one row of the list to another, as shown to the
  // user, or the refusal of the evaluation (rows beyond the list give
  // kNothingToCalculate, which shows nothing). Temperature rows put the
  // value into the from row's formula (a row to itself keeps the value).
  Outcome<std::string> ConvertValue(std::string_view value, std::size_t from, std::size_t to);
  Outcome<std::string> ConvertValue(std::string_view value, const UnitRow& from, const UnitRow& to);

  // The text ConvertValue evaluates.
  static std::string ConversionText(std::string_view value, const UnitRow& from, const UnitRow& to);

  // Evaluates a decimal expression (lower-cased here) with the guard digits;
  // the result is not rounded.
  Outcome<std::string> Evaluate(std::string_view text);
  // Evaluate, then RoundConversionResult.
  Outcome<std::string> EvaluateRounded(std::string_view text);

  const EngineSettings& settings() const { return settings_; }

 private:
  const EngineSettings& settings_;
  UnitList units_;
};

}  // namespace calvoro
