// The function list's buttons, the function input dialog and the parameter
// fields.
#include "app/function_models.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/expression_text.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

TEST(FunctionModelsTest, ButtonsInsertTheirTextsAndOnlyKnownFunctionsAskForAnArgument) {
  std::set<FunctionControl> controls;
  int hidden = 0;
  for (const FunctionButton& button : FunctionButtons()) {
    EXPECT_TRUE(controls.insert(button.control).second) << button.caption;
    if (button.kind == FunctionButton::Kind::Hidden) {
      ++hidden;
      continue;
    }
    // A button that asks for an argument names a function the engine knows.
    const bool known = std::ranges::find(kFunctionNames, button.insert) != kFunctionNames.end();
    EXPECT_EQ(button.opensInput(), known) << button.caption;
  }
  EXPECT_EQ(hidden, 3);
  struct Direct {
    std::string_view caption, insert;
  };
  for (const Direct& d :
       {Direct{"10^x", "10^"}, {"x^2", "^2"}, {"&F", "F"}, {"&W", "W"}, {"PI", "Pi"}}) {
    const auto button = std::ranges::find(FunctionButtons(), d.caption, &FunctionButton::caption);
    ASSERT_NE(button, FunctionButtons().end()) << d.caption;
    EXPECT_EQ(button->insert, d.insert);
    EXPECT_FALSE(button->opensInput());
  }
}

TEST(FunctionModelsTest, AngleUnitIsWrittenAndSavedAtOnce) {
  CSysData record;
  RecordingSink sink;
  int saves = 0;
  FunctionInputModel input(" SIN ", record, sink, [&] { ++saves; });
  EXPECT_EQ(input.prefix(), "sin(");
  EXPECT_TRUE(input.angleButtonsShown());
  EXPECT_TRUE(input.useRadian());
  input.SelectDegree();
  EXPECT_FALSE(record.angleRadian);
  EXPECT_EQ(saves, 1);
  input.SetArgument("30");
  EXPECT_TRUE(input.Ok());
  EXPECT_EQ(input.Insertion(), "sin(30)");
  input.SelectRadian();
  EXPECT_TRUE(record.angleRadian);
  EXPECT_EQ(saves, 2);
  EXPECT_TRUE(sink.empty());

  for (std::string_view name : {"exp", "sqrt", "fac", "rad", "deg", "ln"})
    EXPECT_FALSE(FunctionInputModel(name, record, sink, {}).angleButtonsShown()) << name;
  for (std::string_view name : {"cosh", "arctan", "tanh", "arccos"})
    EXPECT_TRUE(FunctionInputModel(name, record, sink, {}).angleButtonsShown()) << name;
}

TEST(FunctionModelsTest, ArcsinAndArccosRefuseArgumentsBeyondOne) {
  struct Case {
    const char* name;
    const char* argument;
    bool accepted;
  } cases[] = {
      {"arccos", "1.5", false},   {"arccos", "1", true},    {"arcsin", "-1", true},
      {"arcsin", "-1.01", false}, {"arcsin", " +2", false}, {"arcsin", "0.5x", true},
      {"arcsin", "abc", true},  // not a number: reads as 0
      {"arcsin", "1e3", false},   {"sin", "1000", true},
  };
  CSysData record;
  for (const Case& c : cases) {
    RecordingSink sink;
    FunctionInputModel input(c.name, record, sink, {});
    input.SetArgument(c.argument);
    EXPECT_EQ(input.Ok(), c.accepted) << c.name << "(" << c.argument << ")";
    if (c.accepted) {
      EXPECT_TRUE(sink.empty());
    } else {
      ASSERT_EQ(sink.messages.size(), 1u);
      EXPECT_EQ(sink.messages[0].text,
                "Sorry, the value of arcsin or arccos in this calculator cannot be larger than 1.");
    }
  }
}

TEST(FunctionModelsTest, ParameterFieldsAreCheckedOnOkAndStoredAsTyped) {
  CSysData record;
  record.paramW = "2";
  RecordingSink sink;
  ParameterFields fields(record, sink);
  EXPECT_EQ(fields.text(3), "2");
  EXPECT_EQ(fields.text(ParameterFields::kPi), record.paramPi);
  fields.SetText(ParameterFields::kPi, "3");  // read-only
  EXPECT_EQ(fields.text(ParameterFields::kPi), record.paramPi);

  struct Refusal {
    int field;
    const char* text;
    const char* message;
  } refusals[] = {
      {0, "1.2.3", "Sorry, the input number 1.2.3 is invalid."},
      {1, ".", "Sorry, the input number . is invalid."},
      {2, "-", "Sorry, the input number - is invalid."},
      {3, "", "Please enter the value of the parameter W."},
  };
  for (const Refusal& r : refusals) {
    ParameterFields edited(record, sink);
    edited.SetText(r.field, r.text);
    sink.messages.clear();
    EXPECT_FALSE(edited.Ok()) << r.text;
    EXPECT_EQ(edited.focus(), r.field);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, r.message);
  }

  sink.messages.clear();
  fields.SetText(0, "-0.5");
  fields.SetText(3, "12.");
  EXPECT_TRUE(fields.Ok());
  EXPECT_TRUE(sink.empty());
  fields.Store(record);
  EXPECT_EQ(record.paramF, "-0.5");
  EXPECT_EQ(record.paramW, "12.");
}

}  // namespace
}  // namespace calvoro
