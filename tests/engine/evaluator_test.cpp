// The evaluator on prepared texts: priorities, bracket groups, step text and
// its refusals.
#include "engine/evaluator.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

// One evaluation at working precision 11, radian mode.
struct Evaluation {
  bool ok;
  std::string result;
  std::string steps;
  RecordingSink sink;
};

Evaluation Evaluate(std::string_view text, NumberBase base = NumberBase::Decimal) {
  Evaluation e;
  ExprEvaluator evaluator(base, 11, true);
  auto result = evaluator.EvaluateExpression(text, &e.steps);
  e.ok = result.ok();
  if (e.ok) e.result = *result;
  if (!e.ok) ReportRefusal(result.refusal(), e.sink);
  return e;
}

struct EvalCase {
  const char* text;
  const char* result;
};

TEST(EvaluatorTest, PrioritiesGroupsAndFunctions) {
  const EvalCase cases[] = {
      {"5+3*2", "11"},
      {"8-3-2", "3"},
      {"2^3^2", "64"},
      {"2*3^2", "18"},
      {"(-3)*2", "-6"},
      {"(-3)*2+10", "4"},
      {"sqrt(16)+1", "5"},
      {"((2+3))", "5"},
      {"((2-5))", "-3"},
      {"sin((-2))*2", "-1.81859485364"},
      {"abs((-3))", "3"},
      {"-(2+3)", "-5"},
      {"-(2-3)", "1"},
      {"int(2*15)", "30"},
      {"2-(3-5)", "4"},
      {"(+5*2)", "10"},
      {"(+3)*2", "6"},
      {"10/4", "2.5"},
      {"0.10+0.20", "0.3"},
      {"007+1", "8"},
      {"-5", "-5"},
      {"(-6)", "-6"},
      {"+7", "7"},
      {"abs(int((-7.5)))", "7"},
      {"2^0.5", "1.41421356237"},
  };
  for (const auto& c : cases) {
    const Evaluation e = Evaluate(c.text);
    ASSERT_TRUE(e.ok) << c.text;
    EXPECT_EQ(e.result, c.result) << c.text;
    EXPECT_TRUE(e.sink.empty()) << c.text;
  }
}

TEST(EvaluatorTest, StepTextRecordsEveryRewrite) {
  const EvalCase cases[] = {
      {"1+2*3", "1+2*3\r\n=1+2*3\r\n=1+6\r\n=7"},
      {"(-3)*2+10", "(-3)*2+10\r\n=(-3)*2+10\r\n=(-6)+10\r\n=4"},
      {"sqrt(16)+1", "sqrt(16)+1\r\n=sqrt(16)+1\r\n=4+1\r\n=5"},
      {"2*(3+4)", "2*(3+4)\r\n=2*(3+4)\r\n=2*7\r\n=14"},
      // A function's expression parameter: the group first, then the function.
      {"sqrt(2+7)+1", "sqrt(2+7)+1\r\n=sqrt(2+7)+1\r\n=sqrt(9)+1\r\n=3+1\r\n=4"},
      {"sqrt(sqrt(8*2))",
       "sqrt(sqrt(8*2))\r\n=sqrt(sqrt(8*2))\r\n=sqrt(sqrt(16))\r\n=sqrt(4)\r\n=2"},
  };
  for (const auto& c : cases) {
    const Evaluation e = Evaluate(c.text);
    ASSERT_TRUE(e.ok) << c.text;
    EXPECT_EQ(e.steps, c.result) << c.text;
  }
}

TEST(EvaluatorTest, OtherBases) {
  struct BaseCase {
    NumberBase base;
    const char* text;
    const char* result;
  };
  const BaseCase cases[] = {
      {NumberBase::Hex, "ff+1", "100"},       {NumberBase::Hex, "a*(b-1)", "64"},
      {NumberBase::Binary, "101+11", "1000"}, {NumberBase::Binary, "1/10", "0.1"},
      {NumberBase::Octal, "7+1", "10"},       {NumberBase::Octal, "(-7)*2", "-16"},
  };
  for (const auto& c : cases) {
    const Evaluation e = Evaluate(c.text, c.base);
    ASSERT_TRUE(e.ok) << c.text;
    EXPECT_EQ(e.result, c.result) << c.text;
  }
}

TEST(EvaluatorTest, RefusalsNameTheirReason) {
  struct Refusal {
    const char* text;
    const char* message;
    const char* caption;
  };
  const Refusal cases[] = {
      {"((1+2)", "Sorry, the expression includes 2 ( and 1 ). It is invalid.", "Warning Message"},
      {"(((1)", "Sorry, the expression includes 3 ( and 1 ). It is invalid.", "Warning Message"},
      {"5/0", "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"5/0.000", "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"5/(-0)", "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"5/", "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"5*", "Sorry, a number is missing after the operator *.", "Calvoro Warning Message"},
      {"(*5)", "Sorry, a number is missing before the operator *.", "Calvoro Warning Message"},
      {"1.2.3+1", "Sorry, the input number 1.2.3 is invalid.", "Calvoro Warning Message"},
      {"1+.", "Sorry, the input number . is invalid.", "Calvoro Warning Message"},
      {"(1.2.3)", "Sorry, the input number 1.2.3 is invalid.", "Calvoro Warning Message"},
      {"h1", "Sorry, the input number h1 is invalid.", "Calvoro Warning Message"},
      {"(-8)^0.5",
       "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.",
       "Tivamo Warning Message"},
      {"-(1.2.3)",
       "The expression is invalid. It should include at least one operator such as "
       "+,-,*,/,^.Thank you.",
       "Warning Message"},
  };
  for (const auto& c : cases) {
    const Evaluation e = Evaluate(c.text);
    EXPECT_FALSE(e.ok) << c.text;
    ASSERT_EQ(e.sink.messages.size(), 1u) << c.text;
    EXPECT_EQ(e.sink.messages[0].text, c.message) << c.text;
    EXPECT_EQ(e.sink.messages[0].caption, c.caption) << c.text;
  }
}

TEST(EvaluatorTest, OperatorTableHasABound) {
  std::string many = "1";
  for (int i = 0; i < 256; ++i) many += "+1";
  const Evaluation within = Evaluate(many);
  ASSERT_TRUE(within.ok);
  EXPECT_EQ(within.result, "257");
  const Evaluation beyond = Evaluate(many + "+1");
  EXPECT_FALSE(beyond.ok);
  ASSERT_EQ(beyond.sink.messages.size(), 1u);
  EXPECT_NE(beyond.sink.messages[0].text.find("more than 256 operators"), std::string::npos);
}

// Every round copies the whole text into the steps: 120 groups before a
// number of five million digits would write 600 million characters, and are
// refused at the bound.
TEST(EvaluatorTest, StepTextHasABound) {
  std::string groups;
  for (int i = 0; i < 120; ++i) groups += "(1+1)+";
  const Evaluation beyond = Evaluate(groups + "1" + std::string(5'000'000, '0'));
  EXPECT_FALSE(beyond.ok);
  ASSERT_EQ(beyond.sink.messages.size(), 1u);
  EXPECT_EQ(beyond.sink.messages[0].text,
            "Sorry, the steps of this calculation would need more than 500000000 characters, "
            "which is beyond the calculator's limit. Please split it into smaller calculations.");
  const Evaluation within = Evaluate(std::string(300, '(') + "1+1" + std::string(300, ')'));
  ASSERT_TRUE(within.ok);
  EXPECT_EQ(within.result, "2");
}

TEST(EvaluatorTest, FindOperatorsSkipsBracketedNumbers) {
  ExprEvaluator evaluator(NumberBase::Decimal, 11, true);
  EXPECT_EQ(evaluator.FindOperators("-3+(-2)*(4)"), 3);  // + * and the end
  EXPECT_EQ(evaluator.operators(), (std::vector<int>{2, 7, 11}));
  EXPECT_EQ(ExprEvaluator::CountOpenGroups("(-3)*(2+1)+sin(30)+((4))"), 3);
}

}  // namespace
}  // namespace calvoro
