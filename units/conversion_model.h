// The conversion-style calculator without widgets: an expression over up to
// five quantities A to E, each in a unit of one category, shown in an output
// unit. "5(A+6B)" with A in metres, B in feet and the output in yards is five
// times (one metre plus six feet) in yards. A thin window wires the category
// combo, the six unit combos, the two edits and Calculate to this class.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/expr_engine.h"
#include "engine/message_sink.h"
#include "units/unit_catalogue.h"

namespace calvoro {

namespace conversion_window_text {
inline constexpr std::string_view kTitle = "Conversion Expression Calculator";
inline constexpr std::string_view kCategoryLabel = "Select category:";
inline constexpr std::string_view kInputLabel = "Input Expression:";
inline constexpr std::string_view kOutputLabel = "Output Value:";
inline constexpr std::string_view kCalculate = "Calculate";
inline constexpr std::string_view kHint = "e.g. 5(A+6B-C)-E";
}  // namespace conversion_window_text

class ConversionModel {
 public:
  // The category combo's entries, sorted.
  static constexpr std::array<std::string_view, 8> kCategories = {
      "Area", "Energy", "Length", "Mass", "Press", "Speed", "Temperature", "Volume"};
  // The unit combos: A to E, then Output.
  static constexpr std::array<std::string_view, 6> kSlotLabels = {
      "A=", "B=", "C=", "D=", "E=", "Output="};
  static constexpr int kOutputSlot = 5;

  // Starts on the area category.
  ConversionModel(const EngineSettings& settings, MessageSink& sink);

  // Loads the category (trimmed, lower-cased); every combo is refilled with
  // its units and none is chosen.
  void SelectCategory(std::string_view text);
  const std::string& category() const { return category_; }
  // The names every unit combo lists, in catalogue order.
  const UnitList& units() const { return units_.units(); }

  // Chooses a unit (a row of units(), -1 for none) in combo A..E or Output.
  void ChooseUnit(int slot, int row);
  int chosen(int slot) const { return chosen_.at(static_cast<std::size_t>(slot)); }

  // Calculate: on success the Output Value shows the value and the output
  // unit's name; on failure a message is shown and the output is kept.
  bool Calculate(std::string_view input);
  const std::string& output() const { return output_; }

  // The expression with implicit multiplications written out (steps 4 and 6
  // of Calculate), lower-cased.
  std::string ExplicitExpression(std::string_view input) const;

 private:
  const UnitRow* Unit(int slot) const;
  // Evaluates `expression`; with the value, the chosen output unit. Without
  // either, the message has been shown and the unit is null.
  std::pair<std::string, const UnitRow*> EvaluateForOutput(const std::string& expression);

  MessageSink& sink_;
  UnitEngine units_;
  std::string category_;
  std::array<int, 6> chosen_{-1, -1, -1, -1, -1, -1};
  std::string output_;
};

}  // namespace calvoro
