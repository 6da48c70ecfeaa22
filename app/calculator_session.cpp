// The Calc command: calculation, assignment or equation, then memories and log.
#include "app/calculator_session.h"

#include <exception>
#include <new>

#include "engine/expression_text.h"
#include "engine/number_base.h"

namespace calvoro {
namespace {

constexpr std::string_view kEmptyInput = "Please input the expression first.";
constexpr std::string_view kAssignFailed =
    "Failed to set the parameter value,please check the right expression after =.Thank you.";
constexpr std::string_view kInputError = "Input expression is error, please check it again.";

std::string_view FirstLine(std::string_view steps) { return steps.substr(0, steps.find('\r')); }

// A number of the base as typed into the field (in Mix, with its head).
bool IsPlainNumber(std::string_view text, int base) {
  if (base != kBaseMix) return IsNumberOfBase(base, text);
  std::string_view body = text;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
  const int own = BaseOfNumberText(body);
  return IsNumberOfBase(own, body.substr(HeadOfBase(own).size()));
}

}  // namespace

std::string_view BasePrefix(int base) {
  switch (base) {
    case kBaseBinary:
      return "Bin:";
    case kBaseOctal:
      return "Oct:";
    case kBaseHex:
      return "Hex:";
    case kBaseMix:
      return "Mix:";
    default:
      return "Dec:";
  }
}

std::string LogLine(const std::tm& time, int base, std::string_view expression,
                    std::string_view first_line, std::string_view result) {
  std::string line = LogTimeText(time);
  line.append("   ").append(BasePrefix(base));
  if (ToLowerAscii(TrimBlanks(expression)) == ToLowerAscii(TrimBlanks(first_line))) {
    line.append(base == kBaseMix ? expression : first_line);
  } else {
    line.append(expression).append("=").append(first_line);
  }
  return line.append("=").append(result);
}

CalculatorSession::CalculatorSession(EngineSettings& settings, MessageSink& sink, int base)
    : settings_(settings), sink_(sink), engine_(settings, sink), store_(settings), base_(base) {}

std::optional<Calculation> CalculatorSession::RunCalculation(std::string_view expression) {
  auto calculation = engine_.Calculate(expression, store_.memories(), base_);
  if (!calculation) return std::nullopt;
  store_.ShiftMemories(calculation->plainResult, base_);
  log_lines_.push_back(LogLine(engine_.Now(), base_, expression, FirstLine(calculation->steps),
                               calculation->result));
  return calculation;
}

CommandResult CalculatorSession::CalcCommand(std::string_view input) {
  // The number library reports broken invariants and exhausted memory by
  // exceptions; the user gets a message and nothing changes.
  try {
    return Command(input);
  } catch (const std::bad_alloc&) {
    sink_.MessageBox("Sorry, the calculation needs more memory than the computer has.",
                     kCaptionCalvoroWarning, MessageIcon::Warning);
  } catch (const std::exception& error) {
    sink_.MessageBox(std::string("Sorry, the calculation failed: ") + error.what(),
                     kCaptionCalvoroWarning, MessageIcon::Warning);
  }
  return {};
}

CommandResult CalculatorSession::Command(std::string_view input) {
  const std::string_view text = TrimBlanks(input);
  if (text.empty()) {
    sink_.MessageBox(kEmptyInput, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  const bool has_equals = text.find('=') != std::string_view::npos;
  const bool calculable = IsExpression(text) || UsesUserParameter(text) || UsesMemory(text) ||
                          has_equals || ContainsUnknown(text);
  if (!calculable) {
    // A plain number stays in the field as it is.
    if (IsPlainNumber(text, base_))
      return {true, std::string(text), std::string(text), std::string(text)};
    sink_.MessageBox("Sorry, the input number " + std::string(text) + " is invalid.",
                     kCaptionCalvoroWarning, MessageIcon::Warning);
    return {};
  }
  if (has_equals) {
    const std::string_view left = text.substr(0, text.find('='));
    if (left.size() == 3 && left[0] == '(' && IsParameterLetter(left[1]) && left[2] == ')') {
      return Assign(text, left[1], text.substr(4));
    }
    if (!ContainsUnknown(text)) {
      sink_.MessageBox(kInputError, kCaptionCalvoro, MessageIcon::Information);
      return {};
    }
    return Solve(text);
  }
  if (ContainsUnknown(text)) return Solve(text);  // refused: no "=" in the equation
  const auto calculation = RunCalculation(text);
  if (!calculation) return {};
  const std::string display =
      std::string(FirstLine(calculation->steps)).append("=").append(calculation->result);
  return {true, display, calculation->result, calculation->steps};
}

CommandResult CalculatorSession::Assign(std::string_view input, char letter,
                                        std::string_view right) {
  std::string value;
  std::string steps;
  if (IsNumberText(right)) {
    if (!IsPlainNumber(right, base_)) {
      sink_.MessageBox(kAssignFailed, kCaptionCalvoro, MessageIcon::Information);
      return {};
    }
    value = std::string(right);
  } else {
    const auto calculation = RunCalculation(right);
    if (!calculation) {
      sink_.MessageBox(kAssignFailed, kCaptionCalvoro, MessageIcon::Information);
      return {};
    }
    value = calculation->plainResult;
    steps = calculation->steps;
  }
  std::string decimal = ConvertNumber(base_, kBaseDecimal, value, settings_.precision, sink_);
  *store_.Parameter(letter) = decimal;
  const char upper = static_cast<char>(ToUpperAscii(std::string(1, letter))[0]);
  std::string display(input);
  display.append("  Set the user parameter ").append(1, upper).append(" successfully.");
  if (steps.empty()) steps = display;
  return {true, display, decimal, steps};
}

CommandResult CalculatorSession::Solve(std::string_view input) {
  const auto solution = engine_.SolveLinearEquation(input, store_.memories(), base_);
  if (!solution) return {};
  store_.ShiftMemories(solution->value, base_);
  log_lines_.push_back(solution->logLine);
  const std::string_view working = solution->working;
  std::string display(working.substr(0, working.find('\r')));
  display.append(" => X=").append(solution->value);
  return {true, display, solution->value, solution->working};
}

}  // namespace calvoro
