// A refusal is a value: what was refused (an id) and the texts that fill its
// message (the refused number, the function's name, ...). Every refusal's
// words, caption and icon live in one catalogue (refusal.cpp); the window,
// the CLI and the robot show them through their MessageSink.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "engine/message_sink.h"

namespace calvoro {

enum class RefusalId {
  kInvalidInputNumber,   // {number}
  kMissingNumber,        // {"after" or "before", operator}
  kUnsupportedOperator,  // {operator}
  kUnknownFunction,      // {call}
  kArcDomain,            // {"sin" or "cos"}
  kArcSecDomain,
  kLnDomain,
  kLogDomain,
  kSqrtDomain,
  kParameterNotNumber,
  kParameterTooLarge,  // {function title}
  kDegreeUndefined,    // {function title, degrees}
  kFactorialNotInteger,
  kFactorialLimit,
  kFunctionTooLarge,  // {call}
  kFunctionTooSmall,  // {call}
  kFunctionNoValue,   // {call}
  kZeroDenominator,
  kNegativePower,
  kResultTooLong,       // {operation, digits}
  kUnbalancedBrackets,  // {opens, closes}
  kNoOperator,
  kSubstitutedTooLong,  // {characters}
  kTooManyOperators,    // {operators}
  kTooManySteps,        // {characters}
  kTooDeep,             // {levels}
  kCalculationFailed,
  kOutOfMemory,
  kArcInputRange,     // the function input dialog
  kParameterMissing,  // {parameter}
  kNoExpression,
  kUnequalBrackets,
  kConversionFailed,  // {support address}
  kNoOutputUnit,
  kNoInputUnit,  // {letter}
  kMixedTemperatures,
  kMatrixElement,  // {row, column, matrix}
  kComplexField,   // {"the real part of A", ...}
  kComplexTooManyRoots,
  kComplexZeroDenominator,
  kComplexNotFinite,
  kComplexNoExpression,
  kComplexUnequalBrackets,
  kComplexFailed,  // {support address}
  kRobotLogEmpty,
  kRobotOutOfMemory,
  // The equation solver's, shown in the input-message dialog with a hint.
  kEquationDenominator,
  kEquationNoEquals,
  kEquationPower,
  kEquationFunctionOfUnknown,  // {function}
  kEquationCloseBracket,       // {position}
  kEquationOpenBrackets,       // {count}
  kEquationTooDeep,
  kEquationTooMuchWork,
  kEquationTwoUnknowns,
  kEquationNotLinear,  // {support address}
  kEquationNoSolution,
  kEquationEveryX,
  kHelpNotFound,   // {the files looked for}
  kHelpNoOpener,   // {file}
  kHelpNotOpened,  // {file}
  // The calculation driver's and the syntax checker's.
  kStopped,
  kCharBefore,           // {position, what follows the char, the chars allowed}
  kCharAfter,            // {position, what precedes the char, the chars allowed}
  kNameWithoutOpen,      // {function name}
  kLastNameWithoutOpen,  // {function name}
  kExpressionParameter,  // {parameter, function name}
  kMixSyntax,
  kBitsCut,             // {number}: a notice, the conversion goes on with the cut value
  kNothingToCalculate,  // an empty text or an equation: callers check first, nothing is shown
  // The matrix dialog's, shown in the input-message dialog with the counts
  // as its input.
  kMatrixTooLarge,  // {most elements}
  kMatrixNotSquare,
  kMatrixProductRows,
  kMatrixProductColumns,
  kMatrixRowsDiffer,
  kMatrixColumnsDiffer,
  // The calculator window's commands.
  kEmptyInput,
  kInputError,
  kAssignFailed,
  kOneEquals,
  // The unit converter's.
  kConverterNoInputUnit,
  kConverterNoOutputUnit,
  kConverterNoInputValue,
  kConverterSelectInput,
  kConverterSelectOutput,
  kConverterFailed,
  kConverterSelectItem,
  kConverterSelectListItem,
  kConverterEditNoItem,
  kConverterRemoveNoItem,
  kConverterNoDescription,
  kConverterNoValue,
  kConverterBadValue,
  // The settings fields (the dialogs, the robot window).
  kNotPositiveInteger,
  kPrecisionRange,  // {most}
  kThresholdRange,  // {most}
  kNoRobotSource,
  kLogSelectFirst,
  // The robot's files.
  kRobotReadFailed,   // {path}
  kRobotWriteFailed,  // {path}
  kRobotSameFile,     // {path}
  kRobotNotRegular,   // {path}
  // The settings' byte bounds.
  kParameterTooLong,  // {parameter, characters, most characters}
  // The settings file, as it was found or written.
  kSettingsForeign,       // {path}
  kSettingsNotRegular,    // {path}
  kSettingsDamaged,       // {path}
  kSettingsUnsafeFolder,  // {folder, problem}
  kSettingsUnsafeFile,    // {path, problem}
  kSettingsNotWritten,    // {path, the system's reason, what is lost}
};

struct Refusal {
  RefusalId id;
  std::vector<std::string> args;
  // The refused input, shown above the message by the input-message dialog
  // (refusals whose catalogue entry has a hint).
  std::string input = {};
  bool operator==(const Refusal&) const = default;
};

// What work returns: its value, or the refusal that stopped it. The refusal
// travels up unchanged to the window, the CLI or the robot, which show it.
template <typename T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  Outcome(Refusal refusal) : state_(std::in_place_index<1>, std::move(refusal)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& operator*() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& operator*() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& operator*() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }
  T* operator->() { return &**this; }
  const T* operator->() const { return &**this; }

  const Refusal& refusal() const& {
    assert(!ok());
    return std::get<1>(state_);
  }
  Refusal&& refusal() && {
    assert(!ok());
    return std::get<1>(std::move(state_));
  }

 private:
  std::variant<T, Refusal> state_;
};

// Work that returns nothing but may be refused.
struct Done {};
using Status = Outcome<Done>;
inline Status Success() { return Done{}; }

// Notices met on the way (a number cut to 100 bits): the work went on, and
// the caller shows them before its result or its refusal.
using Notices = std::vector<Refusal>;

// What a person is shown for a refusal.
struct RefusalMessage {
  std::string text;
  std::string_view caption;
  MessageIcon icon;
  std::string hint;          // for the input-message dialog
  bool inputDialog = false;  // shown in the input-message dialog, not a message box
};

RefusalMessage DescribeRefusal(const Refusal& refusal);
// Shows the refusal through the sink (MessageSink::Refuse): a message box, or
// the input-message dialog with the refused input and the hint.
void ReportRefusal(const Refusal& refusal, MessageSink& sink);
void ReportNotices(const Notices& notices, MessageSink& sink);

// The value of `outcome`, or nothing after its refusal has been shown.
template <typename T>
std::optional<T> ValueOrReport(Outcome<T>&& outcome, MessageSink& sink) {
  if (outcome) return *std::move(outcome);
  ReportRefusal(outcome.refusal(), sink);
  return std::nullopt;
}

}  // namespace calvoro
