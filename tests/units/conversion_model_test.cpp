// The conversion-style calculator: implicit products, the order of its
// checks, and the two evaluations with their one rounding.
#include "units/conversion_model.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

constexpr std::string_view kFailed =
    "Sorry, fail to calculate.Please check your input or report to support@calvoro.example";

class ConversionModelTest : public ::testing::Test {
 protected:
  // Chooses units by name; "" leaves a combo empty. Slots A..E, then Output.
  void Prepare(std::string_view category, std::vector<std::string_view> names) {
    window.SelectCategory(category);
    for (std::size_t slot = 0; slot < names.size(); ++slot) {
      for (std::size_t row = 0; row < window.units().size(); ++row) {
        if (window.units()[row].name == names[slot]) {
          window.ChooseUnit(static_cast<int>(slot), static_cast<int>(row));
        }
      }
      if (!names[slot].empty()) {
        EXPECT_GE(window.chosen(static_cast<int>(slot)), 0) << names[slot];
      }
    }
  }
  std::string LastMessage() const { return sink.empty() ? "" : sink.messages.back().text; }

  EngineSettings settings;
  RecordingSink sink;
  ConversionModel window{settings, sink};
};

TEST_F(ConversionModelTest, StartsOnAreaWithNoUnitChosen) {
  EXPECT_EQ(window.category(), "area");
  EXPECT_EQ(window.units().size(), 15u);
  for (int slot = 0; slot <= ConversionModel::kOutputSlot; ++slot) {
    EXPECT_EQ(window.chosen(slot), -1);
  }
  window.ChooseUnit(0, 3);
  window.SelectCategory(" Length ");  // a new category empties every choice
  EXPECT_EQ(window.units().size(), 30u);
  EXPECT_EQ(window.chosen(0), -1);
}

TEST_F(ConversionModelTest, ImplicitProductsAreWrittenOut) {
  const std::pair<const char*, const char*> cases[] = {
      {"5(A+6B-C)-E", "5*(a+6*b-c)-e"},
      {"2A", "2*a"},
      {"A2", "a*2"},
      {"(A)(B)", "(a)*(b)"},
      {"(A)B", "(a)*b"},
      {"A(B+1)", "a*(b+1)"},
      {"AB", "a*b"},
      {"sqrt(A)", "sqrt(a)"},  // a function keeps its bracket
      {"abs(2B)", "abs(2*b)"},
  };
  for (const auto& [input, expected] : cases) {
    EXPECT_EQ(window.ExplicitExpression(input), expected) << input;
  }
}

TEST_F(ConversionModelTest, Results) {
  struct Case {
    const char* category;
    std::vector<std::string_view> units;  // A..E, Output
    const char* input;
    const char* output;
  };
  const Case cases[] = {
      {"Length", {"metre", "", "", "", "", "foot(UK and US)"}, "2A", "6.56167979 foot(UK and US)"},
      {"Length", {"metre", "foot(UK and US)", "", "", "", "yard"}, "5(A+6B)", "15.4680664917 yard"},
      {"Length", {"inch", "", "", "", "", "foot(UK and US)"}, "3a", "0.25 foot(UK and US)"},
      {"Speed",
       {"metre/second [m/s]", "", "", "", "", "kilometre/hour"},
       "A",
       "3.6 kilometre/hour"},
      {"Speed",
       {"kilometre/hour", "", "", "", "", "metre/second [m/s]"},
       "36A",
       "10 metre/second [m/s]"},
      {"Length", {"metre", "", "", "", "", "centimetre"}, "1-3A", "-200 centimetre"},
      {"Length", {"", "", "", "", "", "centimetre"}, "2", "200 centimetre"},
      {"Temperature",
       {"Celsius (C)", "", "", "", "", "Fahrenheit (F)"},
       "100A",
       "212 Fahrenheit (F)"},
      {"Temperature",
       {"Fahrenheit (F)", "Fahrenheit (F)", "", "", "", "Celsius (C)"},
       "A+211B",
       "100 Celsius (C)"},
      {"Temperature", {"Celsius (C)", "", "", "", "", "Celsius (C)"}, "-40a", "-40 Celsius (C)"},
  };
  for (const auto& c : cases) {
    Prepare(c.category, c.units);
    EXPECT_TRUE(window.Calculate(c.input)) << c.input << ": " << LastMessage();
    EXPECT_EQ(window.output(), c.output) << c.input;
  }
  EXPECT_TRUE(sink.empty());
}

TEST_F(ConversionModelTest, RefusalsKeepTheOutput) {
  Prepare("Length", {"metre", "", "", "", "", "foot(UK and US)"});
  ASSERT_TRUE(window.Calculate("A"));
  const std::string before = window.output();
  struct Case {
    std::vector<std::string_view> units;
    const char* input;
    std::string message;
  };
  const Case cases[] = {
      {{"metre", "", "", "", "", "yard"},
       "  ",
       "Sorry, please input the expression before calculation."},
      {{"metre", "", "", "", "", "yard"},
       "3B",
       "Sorry, please select an item from the combo B first."},
      {{"metre", "inch", "", "", "", "yard"},
       "A+B+e",
       "Sorry, please select an item from the combo E first."},
      // Brackets are counted before any unit is looked at.
      {{"", "", "", "", "", ""}, "(3B", "The number of ) is not equal with the number of ( ."},
      {{"metre", "", "", "", "", ""},
       "5(A)",
       "Sorry, please select an item from the Output Combo first."},
      {{"metre", "", "", "", "", "yard"}, "A+", std::string(kFailed)},
      {{"metre", "", "", "", "", "yard"}, "A/0", std::string(kFailed)},
  };
  for (const auto& c : cases) {
    Prepare("Length", c.units);
    sink.messages.clear();
    EXPECT_FALSE(window.Calculate(c.input)) << c.input;
    ASSERT_FALSE(sink.empty()) << c.input;
    EXPECT_EQ(sink.messages.back().text, c.message) << c.input;
    EXPECT_EQ(sink.messages.back().caption, "Calvoro Warning Message") << c.input;
    EXPECT_EQ(window.output(), before) << c.input;
  }
}

TEST_F(ConversionModelTest, TemperatureLettersShareOneScale) {
  Prepare("Temperature", {"Celsius (C)", "Fahrenheit (F)", "", "", "", "Celsius (C)"});
  for (const char* input : {"A+B", "20"}) {
    sink.messages.clear();
    EXPECT_FALSE(window.Calculate(input)) << input;
    EXPECT_EQ(LastMessage(),
              "Sorry, a temperature expression needs at least one letter, and all its letters in "
              "one temperature unit.");
  }
}

}  // namespace
}  // namespace calvoro
