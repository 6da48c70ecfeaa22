// CalculatorModel: everything the standard and mini calculator windows do,
// without a window. It owns the settings manager, the engine, the memories
// and the input field's state; the Qt windows mirror the field into their
// line edit and call one method per button, key or menu command. The CLI
// runs its inputs through the same Calc command.
#pragma once

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/calculation_runner.h"
#include "app/input_filter.h"
#include "app/sys_data.h"
#include "engine/expr_engine.h"
#include "engine/parameter_store.h"

namespace calvoro {

class CalculatorModel;

// What a command hands back: whether it succeeded, what it did, and the
// step text. Its texts are read from the window (the field, the memories,
// the parameters) when asked for, so that a result of millions of digits is
// not copied: the accessors give what the window holds at the time of the
// call, which is this command's texts until the window changes them.
class CommandResult {
 public:
  // What the command did with the input.
  enum class Kind { kNone, kNumber, kCalculation, kAssignment, kEquation };

  CommandResult() = default;
  CommandResult(const CalculatorModel& window, Kind kind, std::size_t result_size,
                std::string steps)
      : ok(true), kind(kind), steps(std::move(steps)), window_(&window), resultSize_(result_size) {}

  bool ok = false;
  Kind kind = Kind::kNone;
  std::string steps;  // the step text (when wanted) or the lines of working ("\r\n" between)

  // What the input field shows afterwards.
  std::string_view display() const;
  // The result; X for an equation; the stored decimal value for an
  // assignment.
  std::string_view result() const;
  // The result whole, before exponent notation, in Mix notation: the head of
  // its base after the sign ("-0h1F"), as Last1 holds it; the stored decimal
  // value for an assignment; empty for a plain number, which is its own value.
  std::string_view value() const;

 private:
  const CalculatorModel* window_ = nullptr;
  std::size_t resultSize_ = 0;  // the result's length at the end of the display
  char parameter_ = 0;          // the letter an assignment set
  friend class CalculatorModel;
};

// The log label of a number base: "Bin:", "Oct:", "Dec:", "Hex:", "Mix:".
std::string_view BasePrefix(NumberBase base);

// "yyyy-mm-dd hh:mm", the time stamp of every log line (and of the robot's).
std::string LogTimeText(const std::tm& time);

// One log line: time, three blanks, base prefix, and the expression with its
// result (the first line of the step text too when it differs from the
// expression). A first line longer than kMaxLoggedFirstLine (values
// substituted into a short input) keeps its beginning, then "...[" its
// length " characters]"; the settings file bounds the whole line
// (`BoundLogLine`).
inline constexpr std::size_t kMaxLoggedFirstLine = 60 * 1024;
std::string LogLine(const std::tm& time, NumberBase base, std::string_view expression,
                    std::string_view first_line, std::string_view result);
// The log line of a solved equation: time, three blanks, the equation,
// " =>  X=" and the value.
std::string EquationLogLine(const std::tm& time, std::string_view equation, std::string_view value);

// Settings the CLI overrides for one run; they are never written to the file.
struct RunOverrides {
  std::optional<int> precision;
  std::optional<int> exponentThreshold;
  std::optional<bool> angleRadian;
  std::optional<NumberBase> numberBase;
};

class CalculatorModel {
 public:
  // Loads the settings from `settings_path`.
  CalculatorModel(std::string settings_path, MessageSink& sink);
  // On `settings`, loaded by the caller, which keeps them while the window
  // lives.
  CalculatorModel(CSysDataManager& settings, MessageSink& sink);
  // The engine and the memories refer into this window's own record.
  CalculatorModel(const CalculatorModel&) = delete;
  CalculatorModel& operator=(const CalculatorModel&) = delete;

  // Initialisation on the record: the base, tipOpen reset, the fresh start
  // or the saved input. Returns true when the tip of the day should open.
  bool Initialise();

  // While the tip of the day is open every command is ignored.
  bool Blocked() const { return honourTipOpen_ && data().tipOpen; }
  // For a front end without a tip of the day (the CLI): `tipOpen` is another
  // window's and never blocks.
  void IgnoreTipOpen() { honourTipOpen_ = false; }

  // The input field: the Qt line edit mirrors it (text, caret, selection)
  // before and after every command. Positions are byte offsets.
  const EditField& field() const { return field_; }
  EditField& field() { return field_; }
  // Whether the field shows a result: the next typed character starts anew,
  // except an operator, which goes on from the result; Calc does nothing and
  // Backspace brings back the expression that was calculated.
  bool resultShown() const { return filter_.resultShown(); }
  const ExprFilter& filter() const { return filter_; }
  // A character from a key or a button, through the field's filter.
  void TypeChar(char c);
  // Inserts at the caret (or the remembered caret), replacing a selection;
  // into a field that shows a result (a calculation's, an assignment's
  // confirmation, an equation's answer) it starts a new input.
  void InsertText(std::string_view text);
  // Ctrl+A: the whole field selected.
  void SelectAll();
  void ClearInput();
  // Remembers the caret for the next insertion (the function list dialog).
  void RememberCaret();

  // Commands. Each does nothing while Blocked().
  CommandResult CalcCommand();
  CommandResult EqualCommand();
  void MemoryCommand(int index);  // 0 for Last1
  void BaseCommand(NumberBase base);
  void BackspaceCommand();
  // The text to put on the clipboard (the selection, or all).
  std::string CopyCommand() const;
  void PasteCommand(std::string_view clipboard);
  // The style menu: stores the style at once and returns the notice text.
  std::string SelectStyle(WindowStyle style);
  // Reads the settings file again (before the parameter dialog opens, so
  // that another window's changes are seen).
  void ReloadSettings();

  // The Calc command on `input` as if typed into an empty field.
  CommandResult Calculate(std::string input);
  // Calculate with the memories; on success shifts them and appends the log
  // line (the caller saves). The plain result goes to Last1 unless
  // `keep_plain` keeps it in the calculation too.
  std::optional<Calculation> RunCalculation(std::string_view expression, bool keep_plain = false);

  // The working of the result the field shows, calculated again with its
  // step text (built only while the Steps panel shows); nothing when the
  // field shows no calculated result.
  std::optional<std::string> StepsOfShownResult();

  // Whether the commands build the step text (the Steps panel, --steps);
  // without it CommandResult::steps stays empty for calculations.
  void set_steps_wanted(bool wanted) { stepsWanted_ = wanted; }
  bool steps_wanted() const { return stepsWanted_; }

  // The engine's work away from the window's thread; a stopped calculation
  // changes nothing and saves nothing.
  void set_offload(Offload offload) { offload_ = std::move(offload); }

  const MemoryTexts& memories() const { return store_.memories(); }
  std::string MemoryTooltip(int index) const { return store_.MemoryTooltip(index); }

  NumberBase base() const { return data().numberBase; }
  const ParameterStore& store() const { return store_; }
  CSysDataManager& settings() { return manager_; }
  CSysData& data() { return manager_.data; }
  const CSysData& data() const { return manager_.data; }
  ExprEngine& engine() { return engine_; }
  // Set from another thread (or a signal handler) to stop the calculation
  // that runs: it ends with the refusal kStopped and changes nothing.
  // The flag stays set until the caller clears it.
  StopFlag& stop_flag() { return stopFlag_; }

  // The CLI's options: apply to this run only.
  void OverrideForRun(const RunOverrides& overrides);
  // Saves the record (with the file's values for overridden fields); false
  // when the save failed.
  bool Save();
  // Saves through `hook` instead (the CLI, which reports failures and
  // batches its saves): it gets the settings manager, whose record holds
  // what the file is to get while the hook runs.
  void set_save_hook(std::function<bool(CSysDataManager&)> hook) { save_hook_ = std::move(hook); }

 private:
  CommandResult Command(std::string_view input);
  CommandResult Assign(std::string_view input, char letter, std::string_view right);
  CommandResult Solve(std::string_view input);
  // What a shown result came from: the expression as typed (Backspace
  // returns to it) and the value whole in Mix notation, as Last1 holds it
  // (an operator goes on from it, in whatever base is chosen by then).
  struct ShownCalculation {
    std::string expression;
    std::string value;
  };
  void ShowResult(std::string display, ShownCalculation shown);
  // The field holds the shown result's value, ready for an operator.
  void ContinueFromResult();
  // Runs `show` and then saves, also when `show` throws: a calculation is
  // saved once its texts are shown and freed.
  void SavedAfter(const std::function<void()>& show);
  // The result of a command whose display (now in the field) ends in its
  // result of `result_size` characters.
  CommandResult Shown(CommandResult::Kind kind, std::size_t result_size, std::string steps) const {
    return CommandResult(*this, kind, result_size, std::move(steps));
  }
  void SetFieldText(std::string text);
  CommandResult Guarded(const std::function<CommandResult()>& command);
  std::string ConvertFieldText(std::string_view text, NumberBase from, NumberBase to);
  // ConvertNumber at the precision, a number cut to 100 bits told through the sink.
  std::string Converted(NumberBase from, NumberBase to, std::string_view text);
  // The engine's `call` through the offload, on copies of the settings and
  // the memories. `stopped_` tells whether the user stopped it.
  template <class Result, class Call>
  std::optional<Result> Offloaded(Call call);

  std::unique_ptr<CSysDataManager> ownSettings_;  // with a path of its own
  CSysDataManager& manager_;
  MessageSink& sink_;
  ExprEngine engine_;
  ParameterStore store_;
  EditField field_;
  ExprFilter filter_;
  std::optional<std::size_t> savedCaret_;
  ShownCalculation shown_;
  RunOverrides overrides_;
  // The overridable fields as the file holds them.
  struct FileValues {
    int precision = 0;
    int exponentThreshold = 0;
    bool angleRadian = false;
    NumberBase numberBase = NumberBase::Decimal;
  } fileValues_;
  std::function<bool(CSysDataManager&)> save_hook_;
  StopFlag stopFlag_;
  bool honourTipOpen_ = true;
  bool stepsWanted_ = false;
  Offload offload_;
  bool stopped_ = false;
  // What the shown result was calculated from, for its working.
  struct Calculated {
    std::string expression;
    NumberBase base = NumberBase::Decimal;
    MemoryTexts memories;
    bool equation = false;
  };
  std::optional<Calculated> calculated_;
};

}  // namespace calvoro
