// The calculator window's commands without a window: calculations,
// assignments, equations, memories, bases, the field and the settings file.
#include "app/calculator_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/number_base.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

class CalculatorModelTest : public ::testing::Test {
 protected:
  CalculatorModelTest() {
    session.engine().set_clock([] { return testing::FixedTime(2026, 12, 6, 20, 5); });
  }

  // The record as the file holds it now.
  CSysData FileRecord() const {
    CSysDataManager reader(path);
    reader.Load();
    return reader.data;
  }

  const testing::TestFolder folder{"window"};
  std::string path = folder.Path("SysData.dat");
  RecordingSink sink;
  CalculatorModel session{path, sink};
  CSysData& settings = session.data();
};

TEST_F(CalculatorModelTest, DisplaysAndLogLines) {
  struct Case {
    NumberBase base;
    const char* input;
    const char* display;
    const char* log;
  };
  const Case cases[] = {
      {NumberBase::Decimal, "1+2", "1+2=3", "2026-12-06 20:05   Dec:1+2=3"},
      {NumberBase::Decimal, "2(3+4)", "2*(3+4)=14", "2026-12-06 20:05   Dec:2(3+4)=2*(3+4)=14"},
      {NumberBase::Hex, "FF+1", "ff+1=100", "2026-12-06 20:05   Hex:ff+1=100"},
      {NumberBase::Mix, "0b101+0h1F", "5+1F=0h24", "2026-12-06 20:05   Mix:0b101+0h1F=5+1F=0h24"},
      {NumberBase::Mix, "1+2", "1+2=3", "2026-12-06 20:05   Mix:1+2=3"},
  };
  for (const auto& c : cases) {
    session.data().numberBase = c.base;
    const CommandResult result = session.Calculate(c.input);
    ASSERT_TRUE(result.ok) << c.input;
    EXPECT_EQ(result.display(), c.display) << c.input;
    EXPECT_EQ(session.data().logLines.back(), c.log) << c.input;
  }
}

// The Steps panel opened after a calculation: the working of the result on
// screen, on the memories it was calculated with.
TEST_F(CalculatorModelTest, StepsOfTheShownResult) {
  struct Case {
    const char* input;
    const char* typedAfter;  // a key after the result: no result shown
    const char* steps;       // empty: none
  };
  const Case cases[] = {
      {"2(3+4)", "", "2*(3+4)\r\n=2*(3+4)\r\n=2*7\r\n=14"},
      {"last1+1", "", "14+1\r\n=14+1\r\n=15"},
      {"2x+1=5", "", "2*x+1-(5)=0"},
      {"1+2", "5", ""},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(session.Calculate(c.input).ok) << c.input;
    for (const char* key = c.typedAfter; *key; ++key) session.TypeChar(*key);
    const auto steps = session.StepsOfShownResult();
    EXPECT_EQ(steps.value_or("").substr(0, std::string_view(c.steps).size()), c.steps) << c.input;
    EXPECT_EQ(steps.has_value(), *c.steps != 0) << c.input;
  }
}

TEST_F(CalculatorModelTest, MemoriesShiftWithTheirHeads) {
  for (const char* input : {"1+1", "2+2", "3+3"}) ASSERT_TRUE(session.Calculate(input).ok);
  EXPECT_EQ(session.memories(), (MemoryTexts{"6", "4", "2", "0", "0"}));
  session.data().numberBase = NumberBase::Binary;
  ASSERT_TRUE(session.Calculate("100+1").ok);
  session.data().numberBase = NumberBase::Hex;
  ASSERT_TRUE(session.Calculate("0-1F").ok);
  session.data().numberBase = NumberBase::Octal;
  ASSERT_TRUE(session.Calculate("7+1").ok);
  EXPECT_EQ(session.memories(), (MemoryTexts{"010", "-0h1F", "0b101", "6", "4"}));
  session.data().numberBase = NumberBase::Decimal;
  EXPECT_EQ(session.Calculate("last1+last2+last3").result(), "-18");  // 8 - 31 + 5
  EXPECT_EQ(session.memories()[4], "6");  // the sixth result pushed the first out

  ParameterStore store(settings);
  EXPECT_EQ(store.MemoryTooltip(0), "The first lastest result of calculation:last1=0");
  store.ShiftMemories("5", NumberBase::Decimal);
  EXPECT_EQ(store.MemoryTooltip(0), "the first lastest result:last1=5");
  EXPECT_EQ(store.MemoryTooltip(3), "the forth lastest result:last4=0");
}

TEST_F(CalculatorModelTest, PlainNumbersAndEmptyInput) {
  CommandResult result = session.Calculate("42");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.display(), "42");
  EXPECT_TRUE(session.data().logLines.empty());  // no log line, no memory shift
  EXPECT_EQ(session.memories()[0], "0");

  result = session.Calculate("");
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Please input the expression first.");
  EXPECT_EQ(sink.messages[0].caption, "Calvoro Message");
}

TEST_F(CalculatorModelTest, Assignments) {
  CommandResult result = session.Calculate("(m)=2+3");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.display(), "(m)=2+3  Set the user parameter M successfully.");
  EXPECT_EQ(settings.paramM, "5");
  EXPECT_EQ(session.data().logLines.size(), 1u);  // the right side was calculated

  session.data().numberBase = NumberBase::Hex;
  ASSERT_TRUE(session.Calculate("(K)=FF").ok);
  EXPECT_EQ(settings.paramK, "255");  // stored in decimal
  ASSERT_TRUE(session.Calculate("(w)=2^a").ok);
  EXPECT_EQ(settings.paramW, "1024");

  session.data().numberBase = NumberBase::Decimal;
  sink.messages.clear();
  EXPECT_FALSE(session.Calculate("(f)=1.2.3").ok);
  EXPECT_FALSE(session.Calculate("(f)=").ok);
  EXPECT_FALSE(session.Calculate("(f)=5/0").ok);
  EXPECT_EQ(settings.paramF, "1");
  ASSERT_EQ(sink.messages.size(), 4u);  // the division's own message and three refusals
  EXPECT_EQ(sink.messages.back().text,
            "Failed to set the parameter value,please check the right expression after "
            "=.Thank you.");
  EXPECT_EQ(sink.messages.back().caption, "Calvoro");
}

TEST_F(CalculatorModelTest, EquationsAndOtherInputWithEquals) {
  CommandResult result = session.Calculate("2x+3=7");
  ASSERT_TRUE(result.ok);
  EXPECT_EQ(result.display(), "2*x+3-(7)=0 => X=2");
  EXPECT_EQ(session.memories()[0], "2");
  EXPECT_EQ(session.data().logLines.back(), "2026-12-06 20:05   2x+3=7 =>  X=2");

  sink.messages.clear();
  EXPECT_FALSE(session.Calculate("1+2=3").ok);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Input expression is error, please check it again.");
  EXPECT_FALSE(session.Calculate("x+1").ok);
  EXPECT_EQ(sink.messages.back().text, "Cannot find the operator = in the equation.");
  EXPECT_EQ(session.data().logLines.size(), 1u);
}

}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

class CalculatorModelCommands : public CalculatorModelTest {
 protected:
  // Puts text into the field as the line edit would after typing it.
  void Type(std::string text) {
    session.ClearInput();
    session.InsertText(text);
  }
  const std::string& Field() const { return session.field().text; }
};

TEST_F(CalculatorModelCommands, SavesAtOnce) {
  ASSERT_TRUE(session.Calculate("(m)=2+3").ok);
  EXPECT_EQ(FileRecord().paramM, "5");
  ASSERT_TRUE(session.Calculate("m*2").ok);
  EXPECT_EQ(FileRecord().logLines.back(), "2026-12-06 20:05   Dec:m*2=5*2=10");
}

TEST_F(CalculatorModelCommands, EqualCommand) {
  Type("(F)");
  session.EqualCommand();
  EXPECT_EQ(Field(), "(F)=");
  session.EqualCommand();
  EXPECT_EQ(sink.messages.back().text,
            "The input expression has include one = , we only accetp one = in one expression.");
  Type("2x");
  session.EqualCommand();
  EXPECT_EQ(Field(), "2x=");
  Type("2(1+2)");
  EXPECT_TRUE(session.EqualCommand().ok);
  EXPECT_EQ(Field(), "2*(1+2)=6");
  EXPECT_TRUE(session.resultShown());
  settings.numberBase = NumberBase::Mix;
  Type("0b101+1");
  EXPECT_TRUE(session.EqualCommand().ok);
  EXPECT_EQ(Field(), "0b101+1=6");  // the input as typed in Mix
  Type("");
  session.EqualCommand();
  EXPECT_EQ(sink.messages.back().text, "Please input the expression first.");
}

TEST_F(CalculatorModelCommands, CalcWithEqualsButNoUnknownClearsTheField) {
  Type("1+2=3");
  EXPECT_FALSE(session.CalcCommand().ok);
  EXPECT_EQ(sink.messages.back().text, "Input expression is error, please check it again.");
  EXPECT_EQ(Field(), "");
}

TEST_F(CalculatorModelCommands, BaseSwitchConvertsTheField) {
  Type("255");
  session.BaseCommand(NumberBase::Hex);
  EXPECT_EQ(Field(), "FF");
  EXPECT_EQ(FileRecord().numberBase, NumberBase::Hex);
  // A shown result is calculated again in the new base and logged.
  session.BaseCommand(NumberBase::Decimal);
  ASSERT_TRUE(session.Calculate("2*(3+4)").ok);
  session.BaseCommand(NumberBase::Hex);
  EXPECT_EQ(Field(), "2*(3+4)=E");
  EXPECT_EQ(settings.logLines.back(), "2026-12-06 20:05   Hex:2*(3+4)=E");
  EXPECT_EQ(session.memories()[0], "14");  // not shifted by the switch
  // Names are copied whole; numbers are converted.
  Type("sin(10)+last1+pi");
  session.BaseCommand(NumberBase::Binary);
  EXPECT_EQ(Field(), "sin(10000)+last1+pi");
  // Mix numbers carry their heads.
  session.BaseCommand(NumberBase::Mix);
  Type("0b101+0h1F-7");
  session.BaseCommand(NumberBase::Decimal);
  EXPECT_EQ(Field(), "5+31-7");
  session.BaseCommand(NumberBase::Octal);
  EXPECT_EQ(Field(), "5+37-7");
  // An equation is solved again.
  session.BaseCommand(NumberBase::Decimal);
  ASSERT_TRUE(session.Calculate("2x=10").ok);
  session.BaseCommand(NumberBase::Hex);
  EXPECT_EQ(Field(), "2*x-(a)-(0)=0 => X=5");
}

TEST_F(CalculatorModelCommands, MemoriesAreInsertedInTheWindowsBase) {
  settings.numberBase = NumberBase::Hex;
  ASSERT_TRUE(session.Calculate("F+1").ok);
  EXPECT_EQ(session.memories()[0], "0h10");
  settings.numberBase = NumberBase::Decimal;
  Type("2+");
  session.MemoryCommand(0);
  EXPECT_EQ(Field(), "2+16");
  EXPECT_EQ(session.MemoryTooltip(0), "the first lastest result:last1=0h10");
}

TEST_F(CalculatorModelCommands, InsertBackspaceCopyPaste) {
  Type("12345");
  session.field().caret = session.field().anchor = 2;
  session.InsertText("ab");
  EXPECT_EQ(Field(), "12ab345");
  EXPECT_EQ(session.field().caret, 4u);
  session.field().anchor = 1;
  session.field().caret = 4;
  EXPECT_EQ(session.CopyCommand(), "2ab");
  session.BackspaceCommand();
  EXPECT_EQ(Field(), "1345");
  EXPECT_EQ(session.field().caret, 1u);
  session.BackspaceCommand();
  EXPECT_EQ(Field(), "345");
  session.BackspaceCommand();  // at the start: nothing
  EXPECT_EQ(Field(), "345");
  EXPECT_EQ(session.CopyCommand(), "345");
  session.field().anchor = 0;
  session.field().caret = 1;
  session.PasteCommand("9+");
  EXPECT_EQ(Field(), "9+45");
  ASSERT_TRUE(session.CalcCommand().ok);
  session.BackspaceCommand();  // a shown result is not edited
  EXPECT_EQ(Field(), "9+45=54");
}

TEST_F(CalculatorModelCommands, InsertionsIntoAShownResultStartANewInput) {
  // Whatever put the result there, and whatever inserts, the field starts
  // anew: a calculation, an assignment's confirmation, an equation's answer.
  const char* const results[] = {"sin(30)", "(m)=5", "2x=10"};
  // Each insertion returns the text it put in.
  const std::function<std::string()> inserts[] = {
      [&] { session.MemoryCommand(0); return session.memories()[0]; },
      [&] { session.PasteCommand("0.5"); return std::string("0.5"); },
      [&] { session.InsertText("sin"); return std::string("sin"); },
      [&] { for (char c : std::string("0.5")) session.TypeChar(c); return std::string("0.5"); },
  };
  for (const char* result : results) {
    for (std::size_t i = 0; i < std::size(inserts); ++i) {
      ASSERT_TRUE(session.Calculate(result).ok) << result;
      ASSERT_TRUE(session.resultShown()) << result;
      const std::string inserted = inserts[i]();
      EXPECT_EQ(Field(), inserted) << result << " " << i;
    }
  }
  // Calc on the new input works instead of reading the old text.
  ASSERT_TRUE(session.Calculate("(w)=3").ok);
  for (char c : std::string("m*2")) session.TypeChar(c);
  EXPECT_EQ(session.CalcCommand().display(), "5*2=10");
  // Ctrl+A selects the whole field; a typed character replaces it.
  Type("1+2");
  session.SelectAll();
  EXPECT_EQ(session.CopyCommand(), "1+2");
  session.TypeChar('7');
  EXPECT_EQ(Field(), "7");
}

TEST_F(CalculatorModelCommands, OpenTipBlocksEveryCommand) {
  settings.tipOpen = true;
  Type("1+2");
  EXPECT_FALSE(session.CalcCommand().ok);
  session.EqualCommand();
  session.BaseCommand(NumberBase::Hex);
  session.MemoryCommand(0);
  session.BackspaceCommand();
  session.PasteCommand("x");
  EXPECT_EQ(Field(), "1+2");
  EXPECT_EQ(settings.numberBase, NumberBase::Decimal);
  EXPECT_TRUE(settings.logLines.empty());
  EXPECT_TRUE(sink.empty());
}

TEST_F(CalculatorModelCommands, InitialisationOnTheRecord) {
  settings.freshStart = true;
  settings.tipOpen = true;
  settings.savedExpression = "1+2";
  EXPECT_TRUE(session.Initialise());
  EXPECT_FALSE(settings.freshStart);
  EXPECT_FALSE(settings.tipOpen);
  EXPECT_EQ(settings.savedExpression, "");

  settings.showTips = false;
  settings.freshStart = true;
  EXPECT_FALSE(session.Initialise());

  settings.savedExpression = "4*5";
  EXPECT_FALSE(session.Initialise());
  EXPECT_EQ(Field(), "4*5");

  Type("");
  settings.savedInputFlag = true;
  session.Initialise();
  EXPECT_EQ(Field(), "");
  EXPECT_EQ(settings.savedExpression, "");
  EXPECT_EQ(settings.savedInputB, -1);
}

TEST_F(CalculatorModelCommands, RunOverridesAreNeverWritten) {
  RunOverrides overrides;
  overrides.precision = 2;
  overrides.numberBase = NumberBase::Hex;
  session.OverrideForRun(overrides);
  EXPECT_EQ(session.Calculate("A/3").display(), "a/3=3.55");
  const CSysData stored = FileRecord();
  EXPECT_EQ(stored.precision, 10);
  EXPECT_EQ(stored.numberBase, NumberBase::Decimal);
  EXPECT_EQ(stored.logLines.size(), 1u);
}

}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

class CalculatorModelTyping : public CalculatorModelTest {
 protected:
  void Keys(std::string_view keys) {
    for (char c : keys) session.TypeChar(c);
  }
};

TEST_F(CalculatorModelTyping, KeysGoThroughTheFilterIntoTheCommands) {
  Keys("2(3+4)");
  EXPECT_EQ(session.field().text, "2(3+4)");
  ASSERT_TRUE(session.CalcCommand().ok);
  EXPECT_EQ(session.field().text, "2*(3+4)=14");
  Keys("5");  // a shown result gives way to the new input
  EXPECT_EQ(session.field().text, "5");
  session.BackspaceCommand();
  Keys("(m)=");  // "=" is the Equal command: it starts an assignment
  EXPECT_EQ(session.field().text, "(M)=");
  Keys("7");
  ASSERT_TRUE(session.CalcCommand().ok);
  EXPECT_EQ(FileRecord().paramM, "7");
  // The filter follows the base: "a" is a digit in base 16.
  session.BaseCommand(NumberBase::Hex);
  session.ClearInput();
  Keys("a+1");
  ASSERT_TRUE(session.CalcCommand().ok);
  EXPECT_EQ(session.field().text, "a+1=B");
}

TEST_F(CalculatorModelTyping, StyleChoiceIsSavedAtOnce) {
  EXPECT_EQ(session.SelectStyle(WindowStyle::Mini),
            "You have select the mini style.Please exit the calculator and restart it, then you "
            "could use the mini style.Thank you.\r\n");
  EXPECT_EQ(FileRecord().windowStyle, WindowStyle::Mini);
}

}  // namespace
}  // namespace calvoro
