// The neighbour checks of expressions: what passes, and for each refusal the
// exact message, hint and position.
#include "engine/syntax_check.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "engine/number_base.h"

namespace calvoro {
namespace {

const std::string kBeforeWords =
    ".Or the last char of the following words:Pi,Last1,Last2,Last3,Last4,Last5.";
const std::string kAfterWords =
    ".Or the first char of the following words:Pi,Last1,Last2,Last3,Last4,Last5.";
const std::string kFirstLetters =
    "Or the first letter of the function name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,"
    "Abs,Sqrt,Int";

const std::string kBeforeNameHint =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W" + kBeforeWords;
const std::string kBeforeOpenHint =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W" + kBeforeWords +
    "Or the last letter of the function name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,"
    "Abs,Sqrt,Int";
const std::string kBeforeCloseHint = "] should be one of the chars:),0-9,X,M,F,K,W" + kBeforeWords;
const std::string kBeforeOperatorHint =
    "] should be one of the chars:),(,0-9,X,M,F,K,W" + kBeforeWords;
const std::string kAfterOpenHint =
    "] should be one of the chars:(,0-9,+,-,*,/,^,X,M,F,K,W" + kAfterWords + kFirstLetters;
const std::string kAfterCloseHint =
    "] should be one of the chars:(,),0-9,+,-,*,/,^,X,M,F,K,W" + kAfterWords + kFirstLetters;
const std::string kAfterOperatorHint =
    "] should be one of the chars:(,0-9,X,M,F,K,W" + kAfterWords + kFirstLetters;

TEST(CheckSyntax, PassesWellFormedTexts) {
  const std::pair<std::string, NumberBase> cases[] = {
      {"5pi+78(34.5+89.6)", NumberBase::Decimal},
      {"sin(-30)", NumberBase::Decimal},
      {"sin((-2))", NumberBase::Decimal},  // a bracketed number is a number
      {"1face+fac(3)", NumberBase::Hex},   // fac without "(" is hexadecimal digits
      {"int(2*15)", NumberBase::Decimal},
      // An expression as a function's parameter is evaluated first.
      {"sin(2*15)", NumberBase::Decimal},
      {"1+ARCSIN(1-0.5)", NumberBase::Decimal},
      {"sec(m+1)+sin(x)", NumberBase::Decimal},
      {"abs(2)+abs((1)+1)", NumberBase::Decimal},
      {"sqrt(sqrt(2+3))*ln(last1*2)+sin(pi/6)", NumberBase::Decimal},
      {"1+a5", NumberBase::Hex},
      {"1+.5", NumberBase::Decimal},
      {"5PI+78(34.5+89.6)*SIN(30)", NumberBase::Decimal},
      {"last1+pi*2", NumberBase::Decimal},
      {"2last5(3)+last2*pi(1)", NumberBase::Decimal},
      {"2x+3=7", NumberBase::Decimal},
      {"arcsin(0.5)", NumberBase::Decimal},
      {"2arccos(1)+sinh(2)/arcsec(3)", NumberBase::Decimal},
      {"sec(1)", NumberBase::Decimal},
      {"exp(1)-m*(f+k)^w", NumberBase::Decimal},
      {"abs(last1)+sin(m)", NumberBase::Decimal},
      {"(1+(2))(3)", NumberBase::Decimal},
      {"-5+3", NumberBase::Decimal},
      {"(-3)*(+2)", NumberBase::Decimal},
      {"5+", NumberBase::Decimal},  // an operator at the end is left to the evaluator
      {"5/", NumberBase::Decimal},
      {"", NumberBase::Decimal},
      {"1010.1+(11)", NumberBase::Binary},
      {"0b101+0h1F*(017)", NumberBase::Mix},
      {"(1)a", NumberBase::Hex},
      // "=" takes ")" before it and "(" or a function name after it.
      {"2(x+1)=10", NumberBase::Decimal},
      {"x=(1+2)", NumberBase::Decimal},
      {"3x=sin(30)", NumberBase::Decimal},
  };
  for (const auto& [text, base] : cases) {
    const Status status = CheckSyntax(text, base);
    EXPECT_TRUE(status) << '"' << text << "\" base " << static_cast<int>(base) << ": "
                        << (status ? "" : DescribeRefusal(status.refusal()).text);
  }
}

struct RefusedText {
  const char* text;
  NumberBase base;
  int position;  // 0 for the messages that carry no position
  std::string message;
  std::string hint;
};

// A message and hint with the position prefix.
RefusedText At(const char* text, NumberBase base, int position, const std::string& message_tail,
               const std::string& hint_tail) {
  const std::string prefix = "The char [position:" + std::to_string(position);
  return {text, base, position, prefix + message_tail, prefix + hint_tail};
}

TEST(CheckSyntax, RefusesWithPositionMessageAndHint) {
  const RefusedText cases[] = {
      // 1: before a function name; the name is taken whole.
      At("5 cos(1)", NumberBase::Decimal, 2, "] just before the string -- cos cannot be acceptted",
         kBeforeNameHint),
      At("lnsin(1)", NumberBase::Decimal, 2, "] just before the string -- sin cannot be acceptted",
         kBeforeNameHint),
      At("2 arcsin(0.5)", NumberBase::Decimal, 2,
         "] just before the string -- arcsin cannot be acceptted", kBeforeNameHint),
      At("3sin(1)", NumberBase::Binary, 1, "] just before the string -- sin cannot be acceptted",
         kBeforeNameHint),
      // 2: before "(".
      At("5 (3)", NumberBase::Decimal, 2, "] just before ( cannot be acceptted", kBeforeOpenHint),
      At("9(1)", NumberBase::Octal, 1, "] just before ( cannot be acceptted", kBeforeOpenHint),
      // 3: before ")".
      At("(5+)*2", NumberBase::Decimal, 3, "] just before ) cannot be acceptted", kBeforeCloseHint),
      At("(5 )+1", NumberBase::Decimal, 3, "] just before ) cannot be acceptted", kBeforeCloseHint),
      // 4: before an operator.
      At("5+*3", NumberBase::Decimal, 2, "] just before operator * cannot be acceptted",
         kBeforeOperatorHint),
      At("5 +3", NumberBase::Decimal, 2, "] just before operator + cannot be acceptted",
         kBeforeOperatorHint),
      At("sin+3", NumberBase::Decimal, 3, "] just before operator + cannot be acceptted",
         kBeforeOperatorHint),
      At("x=-5", NumberBase::Decimal, 2, "] just before operator - cannot be acceptted",
         kBeforeOperatorHint),
      // 5: before "=".
      At("5+=3", NumberBase::Decimal, 2, "] just before = cannot be acceptted", kBeforeCloseHint),
      // 7: after "(": only 0-9 count as digits.
      At("2*(.5)", NumberBase::Decimal, 4, "] just after ( cannot be acceptted", kAfterOpenHint),
      At("1+(a5)", NumberBase::Hex, 4, "] just after ( cannot be acceptted", kAfterOpenHint),
      At("()", NumberBase::Decimal, 2, "] just after ( cannot be acceptted", kAfterOpenHint),
      // 8: after ")".
      At("(1)a", NumberBase::Decimal, 4, "] just after ) cannot be acceptted", kAfterCloseHint),
      At("(1) 2", NumberBase::Decimal, 4, "] just after ) cannot be acceptted", kAfterCloseHint),
      // 9: after an operator.
      At("1+a5", NumberBase::Decimal, 3, "] just after the operator + cannot be acceptted",
         kAfterOperatorHint),
      At("(5+)", NumberBase::Decimal, 4, "] just after the operator + cannot be acceptted",
         kAfterOperatorHint),
      At("2^ 3", NumberBase::Decimal, 3, "] just after the operator ^ cannot be acceptted",
         kAfterOperatorHint),
      // 10: after "=".
      At("x= 5", NumberBase::Decimal, 3, "] just after the operator = cannot be acceptted",
         kAfterOperatorHint),
      // 6: a function name without "(".
      {"sin30", NumberBase::Decimal, 0, "The function name sin must be followed by (",
       "Please input as the following:sin(number)"},
      {"SINH2", NumberBase::Decimal, 0, "The function name sinh must be followed by (",
       "Please input as the following:sinh(number)"},
      {"5+sin", NumberBase::Decimal, 0, "The functiona name must be followed by (",
       "Please input as the following:sin(number)"},
      {"2*arcsin", NumberBase::Decimal, 0, "The functiona name must be followed by (",
       "Please input as the following:arcsin(number)"},
      // 11: an expression with the unknown as the parameter of a function.
      {"sin(2*x)=1", NumberBase::Decimal, 0,
       "The expression - 2*x cannot be used as the parameter of the function -- sin. The "
       "parameter of the function must be float number or integer.",
       "Do not use the expression as the parameter of the function."},
      // Words are tried in table order: sin before cos.
      {"cos(3+x)+SIN(1-X)", NumberBase::Decimal, 0,
       "The expression - 1-x cannot be used as the parameter of the function -- sin. The "
       "parameter of the function must be float number or integer.",
       "Do not use the expression as the parameter of the function."},
  };
  for (const RefusedText& c : cases) {
    const Status status = CheckSyntax(c.text, c.base);
    ASSERT_FALSE(status) << c.text;
    const RefusalMessage message = DescribeRefusal(status.refusal());
    EXPECT_EQ(SyntaxPosition(status.refusal()), c.position) << c.text;
    EXPECT_EQ(message.text, c.message) << c.text;
    EXPECT_EQ(message.hint, c.hint) << c.text;
    EXPECT_TRUE(message.inputDialog) << c.text;
    EXPECT_EQ(status.refusal().input, c.text) << c.text;
  }
}

TEST(CheckSyntax, JudgesUpperCaseLikeLowerCase) {
  const char* const texts[] = {"5+*3", "Sin(2*X)", "(1)A", "LAST1+PI", "SinH(2)", "Cos30"};
  for (const char* text : texts) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const Status upper = CheckSyntax(text, NumberBase::Decimal);
    const Status lower = CheckSyntax(lowered, NumberBase::Decimal);
    ASSERT_EQ(upper.ok(), lower.ok()) << text;
    if (!upper) {
      EXPECT_EQ(upper.refusal().args, lower.refusal().args) << text;
    }
  }
}

TEST(BuildWordTable, HoldsFunctionAndValueWords) {
  const std::vector<WordEntry> table = BuildWordTable();
  ASSERT_EQ(table.size(), 25u);
  int functions = 0;
  for (const WordEntry& entry : table) {
    const bool value_word = entry.word == "pi" || entry.word.starts_with("last");
    EXPECT_EQ(entry.flag, value_word ? 1 : 0) << entry.word;
    functions += entry.flag == 0;
  }
  EXPECT_EQ(functions, 19);
  const auto has = [&](std::string_view word) {
    for (const WordEntry& entry : table) {
      if (entry.word == word) return true;
    }
    return false;
  };
  for (std::string_view word : {"sin", "arcsec", "sec", "fac", "last5", "pi"}) {
    EXPECT_TRUE(has(word)) << word;
  }
  EXPECT_FALSE(has("int"));
}

}  // namespace
}  // namespace calvoro
