// The calculator window's commands: Calc, Equal, memories, bases, Backspace,
// Copy/Paste, and the calculation road with its memories and log line.
#include "app/calculator_model.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>
#include <stdexcept>

#include "app/startup.h"
#include "app/window_start.h"
#include "engine/expression_text.h"
#include "engine/mix_expression.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {
namespace {

constexpr std::string_view kEmptyInput = "Please input the expression first.";
constexpr std::string_view kAssignFailed =
    "Failed to set the parameter value,please check the right expression after =.Thank you.";
constexpr std::string_view kInputError = "Input expression is error, please check it again.";
constexpr std::string_view kOneEquals =
    "The input expression has include one = , we only accetp one = in one expression.";

std::string_view FirstLine(std::string_view steps) { return steps.substr(0, steps.find('\r')); }

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

// The operators that go on from a shown result instead of starting anew.
bool IsOperatorChar(char c) { return std::string_view("+-*/^").find(c) != std::string_view::npos; }

// A result of `base` in Mix notation, as the memories hold it.
std::string MixValue(std::string plain, NumberBase base) {
  return base == NumberBase::Mix ? std::move(plain) : MixResultText(plain, base);
}

}  // namespace

std::string_view BasePrefix(NumberBase base) {
  switch (base) {
    case NumberBase::Binary:
      return "Bin:";
    case NumberBase::Octal:
      return "Oct:";
    case NumberBase::Hex:
      return "Hex:";
    case NumberBase::Mix:
      return "Mix:";
    default:
      return "Dec:";
  }
}

std::string LogTimeText(const std::tm& time) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%d-%02d-%02d %02d:%02d", time.tm_year + 1900,
                time.tm_mon + 1, time.tm_mday, time.tm_hour, time.tm_min);
  return buffer;
}

std::string EquationLogLine(const std::tm& time, std::string_view equation,
                            std::string_view value) {
  return LogTimeText(time) + "   " + std::string(equation) + " =>  X=" + std::string(value);
}

std::string LogLine(const std::tm& time, NumberBase base, std::string_view expression,
                    std::string_view first_line, std::string_view result) {
  // The pieces first, so that a line of millions of digits is built in one
  // allocation.
  std::string_view shown = expression;
  const bool same = EqualIgnoringCase(TrimBlanks(expression), TrimBlanks(first_line));
  std::string_view working;  // the first line after "=", when it differs
  std::string cut;           // "...[N characters]" after a shortened first line
  if (same) {
    if (base != NumberBase::Mix) shown = first_line;
  } else if (first_line.size() > kMaxLoggedFirstLine) {
    working = first_line.substr(0, kMaxLoggedFirstLine);
    cut = "...[" + std::to_string(first_line.size()) + " characters]";
  } else {
    working = first_line;
  }
  std::string line = LogTimeText(time);
  const std::string_view prefix = BasePrefix(base);
  line.reserve(line.size() + 3 + prefix.size() + shown.size() + 1 + working.size() + cut.size() +
               1 + result.size());
  line.append("   ").append(prefix).append(shown);
  if (!same) line.append("=").append(working).append(cut);
  line.append("=").append(result);
  return line;
}

std::string_view CommandResult::display() const {
  if (window_ == nullptr) return {};
  const std::string_view shown = window_->field().text;
  return kind == Kind::kNumber ? TrimBlanks(shown) : shown;
}

std::string_view CommandResult::result() const {
  if (kind == Kind::kAssignment) return value();
  const std::string_view shown = display();
  return shown.substr(shown.size() - std::min(resultSize_, shown.size()));
}

std::string_view CommandResult::value() const {
  if (window_ == nullptr || kind == Kind::kNumber) return {};
  if (kind != Kind::kAssignment) return window_->memories()[0];
  const std::string* parameter = window_->store().Parameter(parameter_);
  return parameter != nullptr ? std::string_view(*parameter) : std::string_view();
}

CalculatorModel::CalculatorModel(std::string settings_path, MessageSink& sink)
    : ownSettings_(std::make_unique<CSysDataManager>(std::move(settings_path))),
      manager_(*ownSettings_),
      sink_(sink),
      engine_(manager_.data, sink),
      store_(manager_.data) {
  manager_.Load();
  filter_.SetBase(base());
  engine_.set_stop_flag(&stopFlag_);
}

CalculatorModel::CalculatorModel(CSysDataManager& settings, MessageSink& sink)
    : manager_(settings), sink_(sink), engine_(manager_.data, sink), store_(manager_.data) {
  filter_.SetBase(base());
  engine_.set_stop_flag(&stopFlag_);
}

bool CalculatorModel::Initialise() {
  CSysData& d = data();
  filter_.SetBase(d.numberBase);
  const bool fresh_start = d.freshStart;
  const bool open_tips = InitialiseShellRecord(manager_, sink_);
  if (fresh_start) {
    d.savedExpression.clear();
  } else if (!d.savedExpression.empty()) {
    if (d.savedInputFlag) {
      d.savedExpression.clear();
      d.savedInputText.clear();
      d.savedInputFlag = false;
      d.savedInputC = 0;
      d.savedInputB = -1;
    } else {
      SetFieldText(d.savedExpression);
    }
  }
  return open_tips;
}

void CalculatorModel::TypeChar(char c) {
  if (Blocked()) return;
  if (filter_.resultShown() && IsOperatorChar(c)) ContinueFromResult();
  field_.ClampPositions();
  const FilterAction action = filter_.TypeChar(c, field_);
  ApplyFilterAction(action, field_);
  if (action.runEqual) EqualCommand();
}

void CalculatorModel::InsertText(std::string_view text) {
  // Into a field that shows a result, an insertion starts a new input, as a
  // typed character does.
  if (filter_.resultShown()) ClearInput();
  field_.ClampPositions();
  if (savedCaret_) {
    field_.caret = field_.anchor = std::min(*savedCaret_, field_.text.size());
    savedCaret_.reset();
  }
  field_.Insert(text);
  filter_.NoteInserted(text);
}

void CalculatorModel::SelectAll() {
  field_.anchor = 0;
  field_.caret = field_.text.size();
}

void CalculatorModel::ClearInput() {
  field_.Clear();
  filter_.NoteCleared();
}

void CalculatorModel::RememberCaret() { savedCaret_ = field_.caret; }

void CalculatorModel::SetFieldText(std::string text) {
  field_.text = std::move(text);
  field_.caret = field_.anchor = field_.text.size();
  filter_.Resync(field_.text);
}

void CalculatorModel::ShowResult(std::string display, ShownCalculation shown) {
  SetFieldText(std::move(display));
  filter_.MarkResultShown();
  shown_ = std::move(shown);
}

void CalculatorModel::ContinueFromResult() {
  std::string value = ConvertNumber(NumberBase::Mix, base(), shown_.value, data().precision, sink_);
  // A negative value stays whole under the operator that follows.
  if (!value.empty() && value.front() == '-') value = "(" + value + ")";
  shown_ = {};
  SetFieldText(std::move(value));
  filter_.ClearResultShown();
}

CommandResult CalculatorModel::Guarded(const std::function<CommandResult()>& command) {
  try {
    return command();
  } catch (const std::bad_alloc&) {
    ReportRefusal({RefusalId::kOutOfMemory, {}}, sink_);
  } catch (const std::length_error&) {
    // A text longer than a string can hold: memory again.
    ReportRefusal({RefusalId::kOutOfMemory, {}}, sink_);
  } catch (const std::exception&) {
    // A broken invariant below: its text is for developers, not for people.
    ReportRefusal({RefusalId::kCalculationFailed, {}}, sink_);
  }
  return {};
}

CommandResult CalculatorModel::CalcCommand() {
  // A shown result is calculated already: Enter, Space and Calc leave it.
  if (Blocked() || filter_.resultShown()) return {};
  return Guarded([&] { return Command(field_.text); });
}

CommandResult CalculatorModel::Calculate(std::string input) {
  SetFieldText(std::move(input));
  filter_.ClearResultShown();
  return CalcCommand();
}

CommandResult CalculatorModel::Command(std::string_view input) {
  const std::string_view text = TrimBlanks(input);
  if (text.empty()) {
    sink_.MessageBox(kEmptyInput, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  if (!IsCalculable(text)) {
    // A plain number stays in the field as it is.
    if (IsNumberOfBase(base(), text)) {
      return Shown(CommandResult::Kind::kNumber, text.size(), std::string(text));
    }
    ReportRefusal({RefusalId::kInvalidInputNumber, {std::string(text)}}, sink_);
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
  // `text` looks into the field, which stays as it is until the result is in.
  auto calculation = RunCalculation(text);
  if (!calculation) return {};
  const std::size_t result_size = calculation->result.size();
  std::string steps = std::move(calculation->steps);
  SavedAfter([&] {
    // In Mix the expression is shown as typed: its numbers keep their heads,
    // so that a base switch reads them as what was calculated.
    const std::string_view first_line =
        base() == NumberBase::Mix ? text : calculation->FirstLine(text);
    std::string display;
    display.reserve(first_line.size() + 1 + result_size);
    display.append(first_line).append("=").append(calculation->result);
    calculation.reset();
    ShowResult(std::move(display), {std::string(text), store_.memories()[0]});
  });
  return Shown(CommandResult::Kind::kCalculation, result_size, std::move(steps));
}

CommandResult CalculatorModel::Assign(std::string_view input, char letter, std::string_view right) {
  std::string value;
  std::string steps;
  if (IsNumberText(right)) {
    if (!IsNumberOfBase(base(), right)) {
      sink_.MessageBox(kAssignFailed, kCaptionCalvoro, MessageIcon::Information);
      return {};
    }
    value = std::string(right);
  } else {
    auto calculation = RunCalculation(right, true);
    if (!calculation) {
      // A stopped calculation has said so already.
      if (!engine_.stopped() && !stopped_)
        sink_.MessageBox(kAssignFailed, kCaptionCalvoro, MessageIcon::Information);
      return {};
    }
    value = std::move(calculation->plainResult);
    steps = std::move(calculation->steps);
  }
  const char upper = ToUpperAscii(std::string(1, letter))[0];
  std::string decimal = ConvertNumber(base(), NumberBase::Decimal, value, data().precision, sink_);
  if (decimal.size() > kMaxParameterBytes) {
    ReportRefusal({RefusalId::kParameterTooLong,
                   {std::string(1, upper), std::to_string(decimal.size()),
                    std::to_string(kMaxParameterBytes)}},
                  sink_);
    return {};
  }
  std::string* parameter = store_.Parameter(letter);
  *parameter = std::move(decimal);
  Save();
  std::string display(input);
  display.append("  Set the user parameter ").append(1, upper).append(" successfully.");
  if (steps.empty()) steps = display;
  ShowResult(std::move(display), {std::string(input), *parameter});
  CommandResult result = Shown(CommandResult::Kind::kAssignment, 0, std::move(steps));
  result.parameter_ = letter;
  return result;
}

template <class Result, class Call>
std::optional<Result> CalculatorModel::Offloaded(Call call) {
  if (!offload_) return call(engine_, store_.memories());
  return RunOffloaded<Result>(
      offload_, sink_,
      [call = std::move(call), settings = EngineSettings(data()), memories = store_.memories(),
       now = engine_.Now()](MessageSink& sink, const CalculationRunner::StopToken&) {
        ExprEngine engine(settings, sink);
        engine.set_clock([now] { return now; });
        return call(engine, memories);
      },
      &stopped_);
}

CommandResult CalculatorModel::Solve(std::string_view input) {
  const std::string equation(input);
  Calculated calculated{equation, base(), store_.memories(), true};
  const auto solution = Offloaded<EquationSolution>(
      [equation, base = base()](ExprEngine& engine, const MemoryTexts& m) {
        return engine.SolveLinearEquation(equation, m, base);
      });
  if (!solution) return {};
  store_.ShiftMemories(solution->value, base());
  data().logLines.push_back(EquationLogLine(engine_.Now(), equation, solution->value));
  Save();
  ShowResult(std::string(FirstLine(solution->working)) + " => X=" + solution->value,
             {equation, store_.memories()[0]});
  calculated_ = std::move(calculated);
  return Shown(CommandResult::Kind::kEquation, solution->value.size(), solution->working);
}

std::optional<Calculation> CalculatorModel::RunCalculation(std::string_view expression,
                                                           bool keep_plain) {
  Calculated calculated{std::string(expression), base(), store_.memories()};
  auto calculation =
      Offloaded<Calculation>([text = calculated.expression, base = base(), steps = stepsWanted_](
                                 ExprEngine& engine, const MemoryTexts& m) {
        return engine.Calculate(text, m, base, steps);
      });
  if (!calculation) return std::nullopt;
  calculated_ = std::move(calculated);
  store_.ShiftMemories(keep_plain ? calculation->plainResult : std::move(calculation->plainResult),
                       base());
  data().logLines.push_back(LogLine(engine_.Now(), base(), expression,
                                    calculation->FirstLine(expression), calculation->result));
  return calculation;
}

void CalculatorModel::SavedAfter(const std::function<void()>& show) {
  try {
    show();
  } catch (...) {
    Save();
    throw;
  }
  Save();
}

CommandResult CalculatorModel::EqualCommand() {
  if (Blocked()) return {};
  const std::string text(TrimBlanks(field_.text));
  if (text.empty()) {
    sink_.MessageBox(kEmptyInput, kCaptionCalvoroMessage, MessageIcon::Information);
    return {};
  }
  if (IsParameterHead(text)) {
    SetFieldText(text + "=");
    filter_.ClearResultShown();
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
    auto calculation = RunCalculation(text);
    if (!calculation) return {};
    const std::size_t result_size = calculation->result.size();
    std::string steps = std::move(calculation->steps);
    SavedAfter([&] {
      const std::string_view shown =
          base() == NumberBase::Mix ? text : calculation->FirstLine(text);
      std::string display = std::string(shown) + "=" + calculation->result;
      calculation.reset();
      ShowResult(std::move(display), {text, store_.memories()[0]});
    });
    return Shown(CommandResult::Kind::kCalculation, result_size, std::move(steps));
  });
}

void CalculatorModel::MemoryCommand(int index) {
  if (Blocked() || index < 0 || index >= 5) return;
  InsertText(
      ConvertNumber(NumberBase::Mix, base(), store_.memories()[index], data().precision, sink_));
}

std::string CalculatorModel::ConvertFieldText(std::string_view text, NumberBase from,
                                              NumberBase to) {
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

std::optional<std::string> CalculatorModel::StepsOfShownResult() {
  if (Blocked() || !filter_.resultShown() || !calculated_) return std::nullopt;
  // On the memories the result was calculated with.
  const CommandResult steps = Guarded([c = *calculated_, this]() -> CommandResult {
    if (c.equation) {
      auto solution = Offloaded<EquationSolution>([c](ExprEngine& engine, const MemoryTexts&) {
        return engine.SolveLinearEquation(c.expression, c.memories, c.base);
      });
      if (solution)
        return CommandResult(*this, CommandResult::Kind::kEquation, 0,
                             std::move(solution->working));
    } else {
      auto calculation = Offloaded<Calculation>([c](ExprEngine& engine, const MemoryTexts&) {
        return engine.Calculate(c.expression, c.memories, c.base, true);
      });
      if (calculation)
        return CommandResult(*this, CommandResult::Kind::kCalculation, 0,
                             std::move(calculation->steps));
    }
    return {};
  });
  if (!steps.ok) return std::nullopt;
  return steps.steps;
}

void CalculatorModel::BaseCommand(NumberBase base) {
  if (Blocked()) return;
  calculated_.reset();
  const NumberBase old_base = this->base();
  data().numberBase = base;
  filter_.SetBase(base);
  Save();
  if (old_base == base) return;
  stopped_ = false;
  Guarded([&]() -> CommandResult {
    const std::string converted = ConvertFieldText(field_.text, old_base, base);
    const std::size_t equals = converted.find('=');
    if (equals != std::string::npos && !ContainsUnknown(converted)) {
      const std::string part = converted.substr(0, equals);
      const auto calculation =
          Offloaded<Calculation>([part, base](ExprEngine& engine, const MemoryTexts& m) {
            return engine.Calculate(part, m, base);
          });
      if (calculation) {
        data().logLines.push_back(
            LogLine(engine_.Now(), base, part, calculation->FirstLine(part), calculation->result));
        Save();
        ShowResult(part + "=" + calculation->result,
                   {part, MixValue(calculation->plainResult, base)});
        return {};
      }
    } else if (ContainsUnknown(converted) && converted.find("=>") != std::string::npos) {
      const std::string equation = converted.substr(0, converted.find("=>"));
      const auto solution =
          Offloaded<EquationSolution>([equation, base](ExprEngine& engine, const MemoryTexts& m) {
            return engine.SolveLinearEquation(equation, m, base);
          });
      if (solution) {
        data().logLines.push_back(EquationLogLine(engine_.Now(), equation, solution->value));
        Save();
        ShowResult(std::string(FirstLine(solution->working)) + " => X=" + solution->value,
                   {equation, MixValue(solution->value, base)});
        return {};
      }
    }
    if (stopped_) {
      // A stopped recalculation leaves the field and the base as they were.
      data().numberBase = old_base;
      filter_.SetBase(old_base);
      Save();
      return {};
    }
    if (filter_.resultShown()) {
      ShownCalculation shown{ConvertFieldText(shown_.expression, old_base, base), shown_.value};
      ShowResult(converted, std::move(shown));
    } else {
      SetFieldText(converted);
    }
    return {};
  });
}

void CalculatorModel::BackspaceCommand() {
  if (Blocked()) return;
  if (filter_.resultShown()) {
    // Back to the expression that was calculated, to be edited.
    std::string expression = std::move(shown_.expression);
    shown_ = {};
    SetFieldText(std::move(expression));
    filter_.ClearResultShown();
    return;
  }
  field_.ClampPositions();
  filter_.Backspace(field_);
}

std::string CalculatorModel::CopyCommand() const {
  if (!field_.HasSelection()) return field_.text;
  const std::size_t start = std::min(field_.SelectionStart(), field_.text.size());
  return field_.text.substr(start, field_.SelectionEnd() - start);
}

void CalculatorModel::PasteCommand(std::string_view clipboard) {
  if (Blocked()) return;
  InsertText(clipboard);
}

std::string CalculatorModel::SelectStyle(WindowStyle style) {
  return std::string(calvoro::SelectStyle(data(), style, [this] { Save(); }));
}

void CalculatorModel::ReloadSettings() {
  manager_.Load();
  OverrideForRun(overrides_);
  filter_.SetBase(base());
}

void CalculatorModel::OverrideForRun(const RunOverrides& overrides) {
  CSysData& d = data();
  overrides_ = overrides;
  fileValues_ = {d.precision, d.exponentThreshold, d.angleRadian, d.numberBase};
  if (overrides.precision) d.precision = *overrides.precision;
  if (overrides.exponentThreshold) d.exponentThreshold = *overrides.exponentThreshold;
  if (overrides.angleRadian) d.angleRadian = *overrides.angleRadian;
  if (overrides.numberBase) d.numberBase = *overrides.numberBase;
}

bool CalculatorModel::Save() {
  // The file keeps its own values of the overridden fields: they are swapped
  // in for the save and out again (no copy of the record and its log).
  CSysData& record = data();
  const auto swap_overridden = [&] {
    if (overrides_.precision) std::swap(record.precision, fileValues_.precision);
    if (overrides_.exponentThreshold)
      std::swap(record.exponentThreshold, fileValues_.exponentThreshold);
    if (overrides_.angleRadian) std::swap(record.angleRadian, fileValues_.angleRadian);
    if (overrides_.numberBase) std::swap(record.numberBase, fileValues_.numberBase);
  };
  swap_overridden();
  const bool saved = save_hook_ ? save_hook_(manager_) : manager_.Save();
  swap_overridden();
  return saved;
}

}  // namespace calvoro
