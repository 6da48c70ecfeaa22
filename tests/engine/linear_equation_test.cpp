#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "engine/expr_engine.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

class LinearEquationTest : public ::testing::Test {
 protected:
  LinearEquationTest() {
    engine_.set_clock([] { return testing::FixedTime(2026, 12, 7, 21, 5); });
  }

  std::optional<EquationSolution> Solve(std::string_view equation,
                                        NumberBase base = NumberBase::Decimal,
                                        const MemoryTexts& memories = kZeroMemories) {
    return ShowOutcome(engine_, engine_.SolveLinearEquation(equation, memories, base), sink_);
  }

  EngineSettings settings_;
  RecordingSink sink_;
  ExprEngine engine_{settings_};
};

struct SolvedCase {
  std::string equation;
  NumberBase base;
  std::string value;
};

TEST_F(LinearEquationTest, SolvesLinearEquations) {
  const std::vector<SolvedCase> cases = {
      {"2x+3=7", NumberBase::Decimal, "2"},
      {"5+3x=2x-(6-5)", NumberBase::Decimal, "-6"},
      {"2(x+1)=10", NumberBase::Decimal, "4"},
      {"x/2=3", NumberBase::Decimal, "6"},
      {"-x=4", NumberBase::Decimal, "-4"},
      {"3-2x=1", NumberBase::Decimal, "1"},
      {"0.5x=1", NumberBase::Decimal, "2"},
      {"  2X+3=7 ", NumberBase::Decimal, "2"},   // trimmed, either case
      {"2(x+1)/4=1", NumberBase::Decimal, "1"},  // a quotient scales a and b
      {"x/3=1", NumberBase::Decimal, "3"},       // A=1/3 carries guard digits
      {"x/3=1", NumberBase::Octal, "3"},
      {"x/3000000=1", NumberBase::Decimal, "3000000"},
      {"x+x=4", NumberBase::Decimal, "2"},               // X twice in a layer, once per term
      {"2*(3*(x+1)-x)=10", NumberBase::Decimal, "1"},    // nested groups holding X
      {"-(x+1)=3", NumberBase::Decimal, "-4"},           // minus before a group
      {"(-2)x=4", NumberBase::Decimal, "-2"},            // a bracketed negative number
      {"x+abs(-3)*(1+1)=10", NumberBase::Decimal, "4"},  // functions of numbers
      {"10x=110", NumberBase::Binary, "11"},             // coefficients in the base
      {"2x=10", NumberBase::Octal, "4"},                 // octal 8 / 2
      {"ax=14", NumberBase::Hex, "2"},                   // hexadecimal 20 / 10: "(0a)", never "(a)"
      {"2x=0b110", NumberBase::Mix, "3"},                // Mix
      {"x-1=(2+3)*(4-(1+1))", NumberBase::Decimal, "11"},  // X-free groups as wholes
  };
  for (const auto& c : cases) {
    sink_.messages.clear();
    const auto solution = Solve(c.equation, c.base);
    ASSERT_TRUE(solution.has_value()) << c.equation;
    EXPECT_EQ(solution->value, c.value) << c.equation;
    EXPECT_TRUE(sink_.empty()) << c.equation;
  }
}

TEST_F(LinearEquationTest, UsesMemoriesAndParameters) {
  const MemoryTexts memories = {"10", "-3", "0", "0", "0"};
  auto solution =
      Solve("x=abs(last2)", NumberBase::Decimal, memories);  // a negative value as a parameter
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(solution->value, "3");
  solution = Solve("2x=last1", NumberBase::Decimal, memories);
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(solution->value, "5");
  EXPECT_EQ(solution->working.substr(0, solution->working.find("\r\n")), "2*x-(10)=0");

  const EngineSettings settings{.paramM = "3"};
  ExprEngine engine(settings);
  solution =
      ShowOutcome(engine, engine.SolveLinearEquation("2x=m", memories, NumberBase::Decimal), sink_);
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(solution->value, "1.5");
}

TEST_F(LinearEquationTest, WritesWorking) {
  auto solution = Solve("2x+3=7");
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(solution->working, "2*x+3-(7)=0\r\nX=-(-4)/(2)\r\nX=2\r\n");

  solution = Solve("5+3x=2x-(6-5)");
  ASSERT_TRUE(solution.has_value());
  EXPECT_EQ(solution->working, "5+3*x-(2*x-(6-5))=0\r\nX=-(6)/(1)\r\nX=-6\r\n");
}

TEST_F(LinearEquationTest, FunctionsOfNumbersAreComputed) {
  const EngineSettings settings{.angleRadian = false};
  ExprEngine engine(settings);
  const auto solution =
      engine.SolveLinearEquation("2x=sin(30)+(x+1)", kZeroMemories, NumberBase::Decimal);
  ASSERT_TRUE(solution.ok());
  EXPECT_EQ(solution->value, "1.5");
  EXPECT_TRUE(sink_.empty());
}

TEST_F(LinearEquationTest, CoefficientsAreNeverInExponentNotation) {
  // With T = 3, A = 0.00001 would read "1E-5"; only X itself is formatted.
  const EngineSettings settings{.exponentThreshold = 3};
  ExprEngine engine(settings);
  const auto solution =
      engine.SolveLinearEquation("x/100000=1", kZeroMemories, NumberBase::Decimal);
  ASSERT_TRUE(solution.ok());
  EXPECT_EQ(solution->value, "1E+5");
  EXPECT_TRUE(sink_.empty());
}

struct RefusedCase {
  std::string equation;
  std::string message;
  std::string hint;
};

const std::string kNotLinear =
    "It is not a standard liner equation,e.g:AX+B,A,B are the float number.";
const std::string kNotLinearHint =
    "Please check whether your input is correct.Or please record your input and contact with "
    "support@calvoro.example";
const std::string kTwoUnknowns =
    "The liner equation only accept one unknown variable in the one expression block.For "
    "example: 2+3*X*X is illegal.";
const std::string kTwoUnknownsHint =
    "Please do not include more than one unknown variable at the same layer expression";

TEST_F(LinearEquationTest, RefusesWhatIsNotALinearEquation) {
  const std::vector<RefusedCase> cases = {
      {"5/x+3=2",
       "Sorry, the liner equation in Calvoro cannot accept the unknown variable - X in the "
       "denominator",
       "First,please do not input the unknown variable - X as the denominator.Second,if you "
       "indeed need to do this, please move the X demoninator in the left of the equation to the "
       "right of the equation as the numerator.For example , 5/x+3=2-(6-5), then it should be "
       "5+3x=2x-(6-5)x."},
      {"x^2=4", "Cannot accept the operator ^ in the equation.", "Please delete the operator ^"},
      {"sin(x)=0.5", "The parameter of function -sin cannot be unknown variable.",
       "Please delete the string sin(x)"},
      {"arcsin(X)=0.5", "The parameter of function -arcsin cannot be unknown variable.",
       "Please delete the string arcsin(x)"},
      {"3*x*x=2", kTwoUnknowns, kTwoUnknownsHint},
      {"x(x+1)=2", kTwoUnknowns, kTwoUnknownsHint},
      {"x+1", "Cannot find the operator = in the equation.",
       "Please input = in the equation.After finishing your input, please press the ENTER key or "
       "click Calc button"},
      {"2*x)=4", "The close bracket at the position 4 cannot find the open bracket",
       "Please delete the close bracket or insert a new open bracket at a position before it"},
      {"((x=4", "The number of open bracket is larger than the number of close bracket",
       "Please delete 2 open bracket"},
      {"2/(1+x)=3", kNotLinear, kNotLinearHint},  // a group holding X as a divisor
      {"sin(2*x)=1", kNotLinear, kNotLinearHint},
      {"2y+x=1", kNotLinear, kNotLinearHint},
      {"x*-2=1", kNotLinear, kNotLinearHint},
      // Calculate gives up silently on these texts, so the solver must speak.
      {"x=", kNotLinear, kNotLinearHint},
      {"x+()=1", kNotLinear, kNotLinearHint},
      {"x=(2=3)", kNotLinear, kNotLinearHint},
  };
  for (const auto& c : cases) {
    sink_.messages.clear();
    EXPECT_FALSE(Solve(c.equation).has_value()) << c.equation;
    ASSERT_EQ(sink_.messages.size(), 1u) << c.equation;
    const RecordedMessage& shown = sink_.messages.front();
    EXPECT_EQ(shown.kind, RecordedMessage::Input) << c.equation;
    EXPECT_EQ(shown.caption, c.equation);  // the dialog shows the equation as given
    EXPECT_EQ(shown.text, c.message) << c.equation;
    EXPECT_EQ(shown.hint, c.hint) << c.equation;
  }
}

TEST_F(LinearEquationTest, ZeroFactorOfXSaysWhetherAnyXSolves) {
  const char* const none =
      "The equation has no solution: the X terms cancel out and the rest is not 0.";
  const char* const every =
      "Every X solves the equation: the X terms cancel out and so does the rest.";
  const std::pair<std::string, const char*> cases[] = {
      {"2x+3=2x+1", none},  {"x=x+1", none},        {"2=3", none},
      {"2x+3=2x+3", every}, {"2(x+1)=2x+2", every}, {"x-x=0", every},
  };
  for (const auto& [equation, message] : cases) {
    sink_.messages.clear();
    EXPECT_FALSE(Solve(equation).has_value()) << equation;
    ASSERT_EQ(sink_.messages.size(), 1u) << equation;
    EXPECT_EQ(sink_.messages.front().text, message) << equation;
  }
}
}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

// The reducer recurses once per bracket level and reads every level's text:
// nesting beyond 1000 levels is refused before any work, and so is a depth
// that would make it read more than 500 million characters.
TEST_F(LinearEquationTest, NestingAndWorkAreBounded) {
  const auto nested = [](int depth, const std::string& inner) {
    return std::string(depth, '(') + inner + std::string(depth, ')') + "=3";
  };
  const auto deep = Solve(nested(999, "2*x+1"));  // the zero form adds one level
  ASSERT_TRUE(deep.has_value());
  EXPECT_EQ(deep->value, "1");

  struct Refusal {
    std::string equation;
    const char* message;
    const char* hint;
  };
  const Refusal cases[] = {
      {nested(1001, "2*x+1"),
       "Sorry, the equation nests brackets more than 1000 deep, which is beyond the "
       "calculator's limit.",
       "Please remove the brackets that are not needed."},
      {nested(999, "x+" + std::string(600'000, '7')),
       "Sorry, solving this equation would need more than 500000000 characters of working, "
       "which is beyond the calculator's limit.",
       "Please remove the brackets that are not needed, or split the equation."},
  };
  for (const auto& c : cases) {
    sink_.messages.clear();
    EXPECT_FALSE(Solve(c.equation).has_value());
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages.front().text, c.message);
    EXPECT_EQ(sink_.messages.front().hint, c.hint);
  }
}

}  // namespace
}  // namespace calvoro
