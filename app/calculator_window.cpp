// The calculator window's commands: Calc, Equal, memories, bases, Backspace,
// Copy/Paste, and the calculation road with its memories and log line.
#include "app/calculator_window.h"

#include <algorithm>
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
constexpr std::string_view kOneEquals =
    "The input expression has include one = , we only accetp one = in one expression.";

std::string_view FirstLine(std::string_view steps) { return steps.substr(0, steps.find('\r')); }

// A number of the base as typed into the field (in Mix, with its head).
bool IsPlainNumber(std::string_view text, int base) {
  if (base != kBaseMix) return IsNumberOfBase(base, text);
  std::string_view body = text;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
  const int own = BaseOfNumberText(body);
  return IsNumberOfBase(own, body.substr(HeadOfBase(own).size()));
}

// Something the Calc and Equal commands calculate: an expression, a
// parameter, a memory or Pi, an "=" or the unknown X.
bool IsCalculable(std::string_view text) {
  return IsExpression(text) || UsesUserParameter(text) || UsesMemory(text) ||
         text.find('=') != std::string_view::npos || ContainsUnknown(text);
}

// "(L)" with L a parameter letter.
bool IsParameterHead(std::string_view text) {
  return text.size() == 3 && text[0] == '(' && IsParameterLetter(text[1]) && text[2] == ')';
}

}  // namespace

void InputField::SetText(std::string value) {
  text = std::move(value);
  caret = text.size();
  selectionStart = selectionLength = 0;
}

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

CalculatorWindow::CalculatorWindow(std::string settings_path, MessageSink& sink)
    : manager_(std::move(settings_path)),
      sink_(sink),
      engine_(manager_.data, sink),
      store_(manager_.data) {
  manager_.Load();
}

bool CalculatorWindow::Initialise() {
  CSysData& d = data();
  d.tipOpen = 0;
  bool open_tips = false;
  if (d.freshStart == 1) {
    d.freshStart = 0;
    open_tips = d.showTips == 1;
    d.savedExpression.clear();
  } else if (!d.savedExpression.empty()) {
    if (d.savedInputFlag == 1) {
      d.savedExpression.clear();
      d.savedInputText.clear();
      d.savedInputFlag = 0;
      d.savedInputC = 0;
      d.savedInputB = -1;
    } else {
      field_.SetText(d.savedExpression);
    }
  }
  return open_tips;
}

void CalculatorWindow::InsertText(std::string_view text) {
  InputField& f = field_;
  std::size_t at = std::min(f.caret, f.text.size());
  if (savedCaret_) {
    at = std::min(*savedCaret_, f.text.size());
    savedCaret_.reset();
    f.selectionLength = 0;
  }
  if (f.HasSelection()) {
    const std::size_t start = std::min(f.selectionStart, f.text.size());
    f.text.erase(start, f.selectionLength);
    at = start;
  }
  f.text.insert(at, text);
  f.caret = at + text.size();
  f.selectionStart = f.selectionLength = 0;
}

void CalculatorWindow::ClearInput() {
  field_.SetText("");
  field_.resultShown = false;
}

void CalculatorWindow::RememberCaret() { savedCaret_ = field_.caret; }

void CalculatorWindow::ShowResult(std::string display) {
  field_.SetText(std::move(display));
  field_.resultShown = true;
}

// The number library reports broken invariants and exhausted memory by
// exceptions; the user gets a message and nothing changes.
CommandResult CalculatorWindow::Guarded(const std::function<CommandResult()>& command) {
  try {
    return command();
  } catch (const std::bad_alloc&) {
    sink_.MessageBox("Sorry, the calculation needs more memory than the computer has.",
                     kCaptionCalvoroWarning, MessageIcon::Warning);
  } catch (const std::exception& error) {
    sink_.MessageBox(std::string("Sorry, the calculation failed: ") + error.what(),
                     kCaptionCalvoroWarning, MessageIcon::Warning);
  }
  return {};
}

CommandResult CalculatorWindow::CalcCommand() {
  if (Blocked()) return {};
  return Guarded([&] { return Command(field_.text); });
}

CommandResult CalculatorWindow::Calculate(std::string_view input) {
  field_.SetText(std::string(input));
  field_.resultShown = false;
  return CalcCommand();
}

CommandResult CalculatorWindow::Command(std::string_view input) {
  const std::string_view text = TrimBlanks(input);
  if (text.empty()) {
    sink_.MessageBox(kEmptyInput, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  if (!IsCalculable(text)) {
    // A plain number stays in the field as it is.
    if (IsPlainNumber(text, base()))
      return {true, std::string(text), std::string(text), std::string(text)};
    sink_.MessageBox("Sorry, the input number " + std::string(text) + " is invalid.",
                     kCaptionCalvoroWarning, MessageIcon::Warning);
    return {};
  }
  if (text.find('=') != std::string_view::npos) {
    const std::string_view left = text.substr(0, text.find('='));
    if (IsParameterHead(left)) return Assign(text, left[1], text.substr(4));
    if (!ContainsUnknown(text)) {
      sink_.MessageBox(kInputError, kCaptionCalvoro, MessageIcon::Information);
      ClearInput();
      return {};
    }
    return Solve(text);
  }
  if (ContainsUnknown(text)) return Solve(text);  // refused: no "=" in the equation
  const std::string expression(text);
  const auto calculation = RunCalculation(expression);
  if (!calculation) return {};
  std::string display = std::string(FirstLine(calculation->steps)) + "=" + calculation->result;
  ShowResult(display);
  return {true, std::move(display), calculation->result, calculation->steps};
}

CommandResult CalculatorWindow::Assign(std::string_view input, char letter,
                                       std::string_view right) {
  std::string value;
  std::string steps;
  if (IsNumberText(right)) {
    if (!IsPlainNumber(right, base())) {
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
  std::string decimal = ConvertNumber(base(), kBaseDecimal, value, data().precision, sink_);
  *store_.Parameter(letter) = decimal;
  Save();
  const char upper = ToUpperAscii(std::string(1, letter))[0];
  std::string display(input);
  display.append("  Set the user parameter ").append(1, upper).append(" successfully.");
  field_.SetText(display);
  if (steps.empty()) steps = display;
  return {true, display, decimal, steps};
}

CommandResult CalculatorWindow::Solve(std::string_view input) {
  const std::string equation(input);
  const auto solution = engine_.SolveLinearEquation(equation, store_.memories(), base());
  if (!solution) return {};
  store_.ShiftMemories(solution->value, base());
  data().logLines.push_back(solution->logLine);
  Save();
  std::string display = std::string(FirstLine(solution->working)) + " => X=" + solution->value;
  field_.SetText(display);
  return {true, display, solution->value, solution->working};
}

std::optional<Calculation> CalculatorWindow::RunCalculation(std::string_view expression) {
  auto calculation = engine_.Calculate(expression, store_.memories(), base());
  if (!calculation) return std::nullopt;
  store_.ShiftMemories(calculation->plainResult, base());
  data().logLines.push_back(LogLine(engine_.Now(), base(), expression,
                                    FirstLine(calculation->steps), calculation->result));
  Save();
  return calculation;
}

CommandResult CalculatorWindow::EqualCommand() {
  if (Blocked()) return {};
  const std::string text(TrimBlanks(field_.text));
  if (text.empty()) {
    sink_.MessageBox(kEmptyInput, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  if (IsParameterHead(text)) {
    field_.SetText(text + "=");
    field_.resultShown = false;
    return {};
  }
  if (text.find('=', 1) != std::string::npos) {
    sink_.MessageBox(kOneEquals, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  if (!IsCalculable(text)) return {};
  if (ContainsUnknown(text)) {
    InsertText("=");
    return {};
  }
  return Guarded([&]() -> CommandResult {
    const auto calculation = RunCalculation(text);
    if (!calculation) return {};
    const std::string_view shown = base() == kBaseMix ? text : FirstLine(calculation->steps);
    std::string display = std::string(shown) + "=" + calculation->result;
    ShowResult(display);
    return {true, std::move(display), calculation->result, calculation->steps};
  });
}

void CalculatorWindow::MemoryCommand(int index) {
  if (Blocked() || index < 0 || index >= 5) return;
  InsertText(ConvertNumber(kBaseMix, base(), store_.memories()[index], data().precision, sink_));
}

std::string CalculatorWindow::ConvertFieldText(std::string_view text, int from, int to) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    // Names are copied whole: their letters may be digits of the base.
    std::string_view name = FunctionNameAt(text, i);
    if (name.empty()) name = MemoryWordAt(text, i);
    if (name.empty() && ToLowerAscii(text.substr(i, 2)) == "pi") name = text.substr(i, 2);
    if (!name.empty()) {
      out.append(name);
      i += name.size();
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && IsDigitOfBase(from, text[end]) && FunctionNameAt(text, end).empty())
      ++end;
    const std::string_view run = text.substr(i, end - i);
    if (run.empty()) {
      out += text[i++];
    } else if (run.find_first_not_of('.') == std::string_view::npos) {
      out.append(run);  // a point that belongs to no number
      i = end;
    } else {
      out.append(ConvertNumber(from, to, run, data().precision, sink_));
      i = end;
    }
  }
  return out;
}

void CalculatorWindow::BaseCommand(int base) {
  if (Blocked()) return;
  const int old_base = this->base();
  data().numberBase = base;
  Save();
  if (old_base == base) return;
  Guarded([&]() -> CommandResult {
    const std::string converted = ConvertFieldText(field_.text, old_base, base);
    const std::size_t equals = converted.find('=');
    if (equals != std::string::npos && !ContainsUnknown(converted)) {
      const std::string part = converted.substr(0, equals);
      if (const auto calculation = engine_.Calculate(part, store_.memories(), base)) {
        data().logLines.push_back(
            LogLine(engine_.Now(), base, part, FirstLine(calculation->steps), calculation->result));
        Save();
        ShowResult(part + "=" + calculation->result);
        return {};
      }
    } else if (ContainsUnknown(converted) && converted.find("=>") != std::string::npos) {
      const std::string equation = converted.substr(0, converted.find("=>"));
      if (const auto solution = engine_.SolveLinearEquation(equation, store_.memories(), base)) {
        data().logLines.push_back(solution->logLine);
        Save();
        ShowResult(std::string(FirstLine(solution->working)) + " => X=" + solution->value);
        return {};
      }
    }
    const bool shown = field_.resultShown;
    field_.SetText(converted);
    field_.resultShown = shown;
    return {};
  });
}

void CalculatorWindow::BackspaceCommand() {
  if (Blocked() || field_.resultShown) return;
  InputField& f = field_;
  if (f.HasSelection()) {
    const std::size_t start = std::min(f.selectionStart, f.text.size());
    f.text.erase(start, f.selectionLength);
    f.caret = start;
    f.selectionStart = f.selectionLength = 0;
  } else if (f.caret > 0 && f.caret <= f.text.size()) {
    f.text.erase(--f.caret, 1);
  }
}

std::string CalculatorWindow::CopyCommand() const {
  if (!field_.HasSelection()) return field_.text;
  return field_.text.substr(std::min(field_.selectionStart, field_.text.size()),
                            field_.selectionLength);
}

void CalculatorWindow::PasteCommand(std::string_view clipboard) {
  if (Blocked()) return;
  field_.resultShown = false;
  InsertText(clipboard);
}

void CalculatorWindow::ExitCommand() {
  if (Blocked()) return;
  Save();
}

void CalculatorWindow::OverrideForRun(const RunOverrides& overrides) {
  CSysData& d = data();
  overrides_ = overrides;
  fileValues_ = d;
  if (overrides.precision) d.precision = *overrides.precision;
  if (overrides.exponentThreshold) d.exponentThreshold = *overrides.exponentThreshold;
  if (overrides.angleRadian) d.angleRadian = *overrides.angleRadian;
  if (overrides.numberBase) d.numberBase = *overrides.numberBase;
}

bool CalculatorWindow::Save() {
  CSysData record = data();
  if (overrides_.precision) record.precision = fileValues_.precision;
  if (overrides_.exponentThreshold) record.exponentThreshold = fileValues_.exponentThreshold;
  if (overrides_.angleRadian) record.angleRadian = fileValues_.angleRadian;
  if (overrides_.numberBase) record.numberBase = fileValues_.numberBase;
  if (manager_.Save(record) == kFileDone) return true;
  if (save_failed_) save_failed_();
  return false;
}

}  // namespace calvoro
