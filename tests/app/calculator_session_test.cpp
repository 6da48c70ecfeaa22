// The Calc command without a window: calculations, assignments, equations,
// memories and log lines.
#include "app/calculator_session.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/number_base.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    session.engine().set_clock([] { return testing::FixedTime(2026, 12, 6, 20, 5); });
  }
  EngineSettings settings;
  RecordingSink sink;
  CalculatorSession session{settings, sink};
};

TEST_F(SessionTest, DisplaysAndLogLines) {
  struct Case {
    int base;
    const char* input;
    const char* display;
    const char* log;
  };
  const Case cases[] = {
      {10, "1+2", "1+2=3", "2026-12-06 20:05   Dec:1+2=3"},
      {10, "2(3+4)", "2*(3+4)=14", "2026-12-06 20:05   Dec:2(3+4)=2*(3+4)=14"},
      {16, "FF+1", "ff+1=100", "2026-12-06 20:05   Hex:ff+1=100"},
      {kBaseMix, "0b101+0h1F", "5+1F=0h24", "2026-12-06 20:05   Mix:0b101+0h1F=5+1F=0h24"},
      {kBaseMix, "1+2", "1+2=3", "2026-12-06 20:05   Mix:1+2=3"},
  };
  for (const auto& c : cases) {
    session.set_base(c.base);
    const CommandResult result = session.CalcCommand(c.input);
    ASSERT_TRUE(result.ok) << c.input;
    EXPECT_EQ(result.display, c.display) << c.input;
    EXPECT_EQ(session.log_lines().back(), c.log) << c.input;
  }
}

TEST_F(SessionTest, MemoriesShiftWithTheirHeads) {
  for (const char* input : {"1+1", "2+2", "3+3"}) ASSERT_TRUE(session.CalcCommand(input).ok);
  EXPECT_EQ(session.memories(), (MemoryTexts{"6", "4", "2", "0", "0"}));
  session.set_base(kBaseBinary);
  ASSERT_TRUE(session.CalcCommand("100+1").ok);
  session.set_base(kBaseHex);
  ASSERT_TRUE(session.CalcCommand("0-1F").ok);
  session.set_base(kBaseOctal);
  ASSERT_TRUE(session.CalcCommand("7+1").ok);
  EXPECT_EQ(session.memories(), (MemoryTexts{"010", "-0h1F", "0b101", "6", "4"}));
  session.set_base(kBaseDecimal);
  EXPECT_EQ(session.CalcCommand("last1+last2+last3").result, "-18");  // 8 - 31 + 5
  EXPECT_EQ(session.memories()[4], "6");  // the sixth result pushed the first out

  ParameterStore store(settings);
  store.ShiftMemories("5", kBaseDecimal);
  EXPECT_EQ(store.MemoryTooltip(0), "the first lastest result:last1=5");
  EXPECT_EQ(store.MemoryTooltip(3), "the forth lastest result:last4=0");
}

TEST_F(SessionTest, PlainNumbersAndEmptyInput) {
  CommandResult result = session.CalcCommand("42");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.display, "42");
  EXPECT_TRUE(session.log_lines().empty());  // no log line, no memory shift
  EXPECT_EQ(session.memories()[0], "0");

  result = session.CalcCommand("");
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Please input the expression first.");
  EXPECT_EQ(sink.messages[0].caption, "Calvoro Message");
}

TEST_F(SessionTest, Assignments) {
  CommandResult result = session.CalcCommand("(m)=2+3");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.display, "(m)=2+3  Set the user parameter M successfully.");
  EXPECT_EQ(settings.paramM, "5");
  EXPECT_EQ(session.log_lines().size(), 1u);  // the right side was calculated

  session.set_base(kBaseHex);
  ASSERT_TRUE(session.CalcCommand("(K)=FF").ok);
  EXPECT_EQ(settings.paramK, "255");  // stored in decimal
  ASSERT_TRUE(session.CalcCommand("(w)=2^a").ok);
  EXPECT_EQ(settings.paramW, "1024");

  session.set_base(kBaseDecimal);
  sink.messages.clear();
  EXPECT_FALSE(session.CalcCommand("(f)=1.2.3").ok);
  EXPECT_FALSE(session.CalcCommand("(f)=").ok);
  EXPECT_FALSE(session.CalcCommand("(f)=5/0").ok);
  EXPECT_EQ(settings.paramF, "1");
  ASSERT_EQ(sink.messages.size(), 4u);  // the division's own message and three refusals
  EXPECT_EQ(sink.messages.back().text,
            "Failed to set the parameter value,please check the right expression after "
            "=.Thank you.");
  EXPECT_EQ(sink.messages.back().caption, "Calvoro");
}

TEST_F(SessionTest, EquationsAndOtherInputWithEquals) {
  CommandResult result = session.CalcCommand("2x+3=7");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.display, "2*x+3-(7)=0 => X=2");
  EXPECT_EQ(session.memories()[0], "2");
  EXPECT_EQ(session.log_lines().back(), "2026-12-06 20:05   2x+3=7 =>  X=2");

  sink.messages.clear();
  EXPECT_FALSE(session.CalcCommand("1+2=3").ok);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Input expression is error, please check it again.");
  EXPECT_FALSE(session.CalcCommand("x+1").ok);
  EXPECT_EQ(sink.messages.back().text, "Cannot find the operator = in the equation.");
  EXPECT_EQ(session.log_lines().size(), 1u);
}

}  // namespace
}  // namespace calvoro
