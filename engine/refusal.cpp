#include "engine/refusal.h"

#include <cstddef>
#include <iterator>

namespace calvoro {
namespace {

struct CatalogueEntry {
  RefusalId id;
  // The words; "%1", "%2" stand for the refusal's texts.
  std::string_view text;
  std::string_view caption;
  MessageIcon icon = MessageIcon::Warning;
  std::string_view hint = {};  // the input-message dialog's
};

// Words that more than one refusal says.
constexpr std::string_view kZeroDenominatorWords = "The denominator cannot be zero.";
constexpr std::string_view kNoExpressionWords =
    "Sorry, please input the expression before calculation.";
constexpr std::string_view kUnequalBracketsWords =
    "The number of ) is not equal with the number of ( .";

using enum RefusalId;

// In the order of RefusalId.
constexpr CatalogueEntry kCatalogue[] = {
    {kInvalidInputNumber, "Sorry, the input number %1 is invalid.", kCaptionCalvoroWarning},
    {kMissingNumber, "Sorry, a number is missing %1 the operator %2.", kCaptionCalvoroWarning},
    {kUnsupportedOperator, "Sorry, the operator %1 is not supported.", kCaptionCalvoroWarning},
    {kUnknownFunction, "Sorry, the function %1 is unknown.", kCaptionCalvoroWarning},
    {kArcDomain, "Sorry, the absolute value of arc%1's parameter should be equal to or less than 1",
     kCaptionTivamoWarning},
    {kArcSecDomain, "Sorry,the absolute value of the parameter of arcsec cannot be less than 1.",
     kCaptionTivamoWarning},
    {kLnDomain, "Sorry,the parameter for the function Ln(x) should be larger than zero.",
     kCaptionTivamoWarning},
    {kLogDomain, "Sorry,the parameter for the function Log(x) should be larger than zero.",
     kCaptionTivamoWarning},
    {kSqrtDomain, "Sorry,the parameter for the function Sqrt(x) cannot be less than zero.",
     kCaptionTivamoWarning},
    {kParameterNotNumber, "Sorry,the parameter of the function must be float number or integer.",
     kCaptionCalvoroWarning},
    {kParameterTooLarge, "Sorry, the parameter of the function %1(x) is too large.",
     kCaptionTivamoWarning},
    {kDegreeUndefined, "Sorry, we cannot calculate the %1 of the degree %2", kCaptionTivamo,
     MessageIcon::Information},
    {kFactorialNotInteger, "Sorry,the number of factorial function should be integer",
     kCaptionCalvoro},
    {kFactorialLimit,
     "Sorry,the absolute value of the parameter of factorial function should be less than 60000",
     kCaptionCalvoro},
    {kFunctionTooLarge, "Sorry, the result of %1 is too large for the calculator.",
     kCaptionCalvoroWarning},
    {kFunctionTooSmall, "Sorry, the result of %1 is too small for the calculator.",
     kCaptionCalvoroWarning},
    {kFunctionNoValue, "Sorry, the function %1 has no value.", kCaptionCalvoroWarning},
    {kZeroDenominator, kZeroDenominatorWords, kCaptionCalvoroWarning},
    {kNegativePower,
     "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.",
     kCaptionTivamoWarning},
    {kResultTooLong,
     "Sorry, the result of the %1 would have more than %2 digits, which is beyond the "
     "calculator's limit.",
     kCaptionCalvoroWarning},
    {kUnbalancedBrackets, "Sorry, the expression includes %1 ( and %2 ). It is invalid.",
     kCaptionWarning},
    {kNoOperator,
     "The expression is invalid. It should include at least one operator such as +,-,*,/,^.Thank "
     "you.",
     kCaptionWarning},
    {kSubstitutedTooLong,
     "Sorry, the expression would have more than %1 characters once its names are replaced by "
     "their values, which is beyond the calculator's limit.",
     kCaptionCalvoroWarning},
    {kTooManyOperators,
     "Sorry, the expression holds more than %1 operators between two brackets. Please group it "
     "with brackets.",
     kCaptionCalvoroWarning},
    {kTooManySteps,
     "Sorry, the steps of this calculation would need more than %1 characters, which is beyond "
     "the calculator's limit. Please split it into smaller calculations.",
     kCaptionCalvoroWarning},
    {kTooDeep,
     "Sorry, the expression nests brackets more than %1 levels deep, which is beyond the "
     "calculator's limit. Please remove the brackets that are not needed.",
     kCaptionCalvoroWarning},
    {kCalculationFailed, "Sorry, the calculation failed.", kCaptionCalvoroWarning},
    {kOutOfMemory, "Sorry, the calculation needs more memory than the computer has.",
     kCaptionCalvoroWarning},
    {kArcInputRange,
     "Sorry, the value of arcsin or arccos in this calculator cannot be larger than 1.",
     kCaptionCalvoroMessage, MessageIcon::Information},
    {kParameterMissing, "Please enter the value of the parameter %1.", kCaptionCalvoroWarning},
    {kNoExpression, kNoExpressionWords, kCaptionCalvoroWarning},
    {kUnequalBrackets, kUnequalBracketsWords, kCaptionCalvoroWarning},
    {kConversionFailed, "Sorry, fail to calculate.Please check your input or report to %1",
     kCaptionCalvoroWarning},
    {kNoOutputUnit, "Sorry, please select an item from the Output Combo first.",
     kCaptionCalvoroWarning},
    {kNoInputUnit, "Sorry, please select an item from the combo %1 first.", kCaptionCalvoroWarning},
    {kMixedTemperatures,
     "Sorry, a temperature expression needs at least one letter, and all its letters in one "
     "temperature unit.",
     kCaptionCalvoroWarning},
    {kMatrixElement, "Sorry, the element in row %1, column %2 of Matrix %3 is not a number.",
     kCaptionCalvoroWarning},
    {kComplexField, "Sorry, %1 is not a number.", kCaptionComplexWarning},
    {kComplexTooManyRoots, "Sorry, the number of roots must not be above 1000.",
     kCaptionComplexWarning},
    {kComplexZeroDenominator, kZeroDenominatorWords, kCaptionComplexWarning},
    {kComplexNotFinite, "Sorry, the result is too large or not defined.", kCaptionComplexWarning},
    {kComplexNoExpression, kNoExpressionWords, kCaptionComplexWarning},
    {kComplexUnequalBrackets, kUnequalBracketsWords, kCaptionComplexWarning},
    {kComplexFailed,
     "Sorry, fail to calculate the complex expression .Please check your input and report to %1",
     kCaptionComplexCalculator},
    {kRobotLogEmpty, "Sorry,the log is empty.Please calculate first.", kCaptionTivamosa,
     MessageIcon::Information},
    {kRobotOutOfMemory,
     "Sorry, the robot needs more memory than the computer has. The result file was not written.",
     kCaptionCalvoro},
    {kEquationDenominator,
     "Sorry, the liner equation in Calvoro cannot accept the unknown variable - X in the "
     "denominator",
     {},
     MessageIcon::Warning,
     "First,please do not input the unknown variable - X as the denominator.Second,if you indeed "
     "need to do this, please move the X demoninator in the left of the equation to the right of "
     "the equation as the numerator.For example , 5/x+3=2-(6-5), then it should be "
     "5+3x=2x-(6-5)x."},
    {kEquationNoEquals,
     "Cannot find the operator = in the equation.",
     {},
     MessageIcon::Warning,
     "Please input = in the equation.After finishing your input, please press the ENTER key or "
     "click Calc button"},
    {kEquationPower,
     "Cannot accept the operator ^ in the equation.",
     {},
     MessageIcon::Warning,
     "Please delete the operator ^"},
    {kEquationFunctionOfUnknown,
     "The parameter of function -%1 cannot be unknown variable.",
     {},
     MessageIcon::Warning,
     "Please delete the string %1(x)"},
    {kEquationCloseBracket,
     "The close bracket at the position %1 cannot find the open bracket",
     {},
     MessageIcon::Warning,
     "Please delete the close bracket or insert a new open bracket at a position before it"},
    {kEquationOpenBrackets,
     "The number of open bracket is larger than the number of close bracket",
     {},
     MessageIcon::Warning,
     "Please delete %1 open bracket"},
    {kEquationTooDeep,
     "Sorry, the equation nests brackets more than 1000 deep, which is beyond the calculator's "
     "limit.",
     {},
     MessageIcon::Warning,
     "Please remove the brackets that are not needed."},
    {kEquationTooMuchWork,
     "Sorry, solving this equation would need more than 500000000 characters of working, which "
     "is beyond the calculator's limit.",
     {},
     MessageIcon::Warning,
     "Please remove the brackets that are not needed, or split the equation."},
    {kEquationTwoUnknowns,
     "The liner equation only accept one unknown variable in the one expression block.For "
     "example: 2+3*X*X is illegal.",
     {},
     MessageIcon::Warning,
     "Please do not include more than one unknown variable at the same layer expression"},
    {kEquationNotLinear,
     "It is not a standard liner equation,e.g:AX+B,A,B are the float number.",
     {},
     MessageIcon::Warning,
     "Please check whether your input is correct.Or please record your input and contact with %1"},
    {kEquationNoSolution,
     "The equation has no solution: the X terms cancel out and the rest is not 0.",
     {},
     MessageIcon::Warning,
     "Please check the equation; for example 2x+3=2x+1 is false whatever X is."},
    {kEquationEveryX,
     "Every X solves the equation: the X terms cancel out and so does the rest.",
     {},
     MessageIcon::Warning,
     "The equation holds whatever X is, like 2x+3=2x+3; there is no single value to give."},
    {kHelpNotFound, "Sorry, the help file cannot be found: the program looked for %1.",
     kCaptionCalvoroMessage, MessageIcon::Information},
    {kHelpNoOpener, "Sorry, no program to open the help file %1 was found.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kHelpNotOpened, "The help file %1 could not be opened.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kStopped, "The calculation was stopped.", kCaptionCalvoroMessage, MessageIcon::Information},
    {kCharBefore,
     "The char [position:%1] just before %2 cannot be acceptted",
     {},
     MessageIcon::Warning,
     "The char [position:%1] should be one of the chars:%3"},
    {kCharAfter,
     "The char [position:%1] just after %2 cannot be acceptted",
     {},
     MessageIcon::Warning,
     "The char [position:%1] should be one of the chars:%3"},
    {kNameWithoutOpen,
     "The function name %1 must be followed by (",
     {},
     MessageIcon::Warning,
     "Please input as the following:%1(number)"},
    {kLastNameWithoutOpen,
     "The functiona name must be followed by (",
     {},
     MessageIcon::Warning,
     "Please input as the following:%1(number)"},
    {kExpressionParameter,
     "The expression - %1 cannot be used as the parameter of the function -- %2. The parameter "
     "of the function must be float number or integer.",
     {},
     MessageIcon::Warning,
     "Do not use the expression as the parameter of the function."},
    {kMixSyntax,
     "Syntax Error.",
     {},
     MessageIcon::Warning,
     "In the mix calculation, the binary float number must begin with 0b and it can only includes "
     "0,1 and point."
     "The octal float number must begin with 0 and it can only include 0,1,2,3,4,5,6,7and point."
     "The decimal float number do not need any head characters and it can only include "
     "0,1,2,3,4,5,6,7,8,9 and point."
     "The hex float number must begin with 0h and it can only include "
     "0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F and point."},
    {kBitsCut,
     "%1 exceeds the 100 bit limitation",
     {},
     MessageIcon::Warning,
     "If the integer part exceeds 100 bit, we convert the right 100 bit.If the float part exceeds "
     "100 bit, we convert the left 100 bit."},
    {kNothingToCalculate, {}, kCaptionCalvoroMessage, MessageIcon::Information},
    {kMatrixTooLarge,
     "A matrix may hold at most %1 elements.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kMatrixNotSquare,
     "The number of Matrix A rows must be same as the number of Matrix A columes.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kMatrixProductRows,
     "The number of Matrix A rows must be same as the number of Matrix B columes.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kMatrixProductColumns,
     "The number of Matrix A columes must be same as the number of Matrix B rows.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kMatrixRowsDiffer,
     "The number of Matrix A rows must be same as the number of Matrix B.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kMatrixColumnsDiffer,
     "The number of Matrix A columes must be same as the number of Matrix B.",
     {},
     MessageIcon::Warning,
     "Syntax Error."},
    {kEmptyInput, "Please input the expression first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kInputError, "Input expression is error, please check it again.", kCaptionCalvoro,
     MessageIcon::Information},
    {kAssignFailed,
     "Failed to set the parameter value,please check the right expression after =.Thank you.",
     kCaptionCalvoro, MessageIcon::Information},
    {kOneEquals, "The input expression has include one = , we only accetp one = in one expression.",
     kCaptionCalvoroMessage, MessageIcon::Information},
    {kConverterNoInputUnit, "Please select the input unit name from the input unit list",
     kCaptionCalvoro},
    {kConverterNoOutputUnit, "Please select the output unit name from the output unit list",
     kCaptionCalvoro},
    {kConverterNoInputValue, "Please input the input value first", kCaptionCalvoro},
    {kConverterSelectInput, "Please select input unit first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterSelectOutput, "Please select output unit first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterFailed, "Failed to convert.", kCaptionCalvoroMessage, MessageIcon::Information},
    {kConverterSelectItem, "Please select the item from the list.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterSelectListItem, "Please select the list item first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterEditNoItem, "Please select the item first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterRemoveNoItem, "Please select the removed item first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterNoDescription, "Please input the description of the conversion first.",
     kCaptionCalvoroMessage, MessageIcon::Information},
    {kConverterNoValue, "Please input the value of the conversion first.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kConverterBadValue,
     "The value should be a number (0.45359237) or an expression that follows a number (*1.8+32).",
     kCaptionCalvoroMessage, MessageIcon::Information},
    {kNotPositiveInteger, "Please enter a positive integer.", kCaptionCalvoro},
    {kPrecisionRange, "Please enter a precision from 0 to %1.", kCaptionCalvoro},
    {kThresholdRange, "Please enter an exponent threshold from 0 to %1.", kCaptionCalvoro},
    {kNoRobotSource, "Please select the source file first by clicking the browse button.",
     kCaptionCalvoro, MessageIcon::Information},
    {kLogSelectFirst, "Please select first.Thank you.", kCaptionCalvoroMessage,
     MessageIcon::Information},
    {kRobotReadFailed, "Failed to open and read the file:%1", kCaptionCalvoro,
     MessageIcon::Information},
    {kRobotWriteFailed, "Failed to open and write the file:%1", kCaptionCalvoro,
     MessageIcon::Information},
    {kRobotSameFile,
     "The result file would overwrite the source file, please choose another destination:%1",
     kCaptionCalvoro, MessageIcon::Information},
    {kRobotNotRegular,
     "The result file must be a regular file or a new name, please choose another "
     "destination:%1",
     kCaptionCalvoro, MessageIcon::Information},
    {kParameterTooLong,
     "Sorry, the value has %2 characters, too many to keep as the parameter %1: a parameter "
     "keeps at most %3 characters.",
     kCaptionCalvoro, MessageIcon::Information},
    {kSettingsForeign, "The settings file %1 is not a Calvoro settings file.",
     kCaptionCalvoroWarning},
    {kSettingsNotRegular, "The settings file %1 is not a regular file.", kCaptionCalvoroWarning},
    {kSettingsDamaged,
     "The settings file %1 is damaged. 'calvoro-cli log --repair' keeps what can be read of it "
     "and moves the original aside.",
     kCaptionCalvoroWarning},
    {kSettingsUnsafeFolder, "The settings folder %1 is not safe to use (%2).",
     kCaptionCalvoroWarning},
    {kSettingsUnsafeFile, "The settings file %1 is not safe to use (%2).", kCaptionCalvoroWarning},
    {kSettingsNotWritten, "the settings file %1 could not be written (%2); %3",
     kCaptionCalvoroWarning},
};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < std::size(kCatalogue); ++i) {
    if (static_cast<std::size_t>(kCatalogue[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder() &&
                  std::size(kCatalogue) == static_cast<std::size_t>(kSettingsNotWritten) + 1,
              "one catalogue entry per refusal, in the order of RefusalId");

}  // namespace

RefusalMessage DescribeRefusal(const Refusal& refusal) {
  const CatalogueEntry& entry = kCatalogue[static_cast<std::size_t>(refusal.id)];
  // "%1", "%2", ... replaced by the refusal's texts.
  const auto fill = [&](std::string_view words) {
    std::string out;
    for (std::size_t at = 0; at < words.size(); ++at) {
      const std::size_t slot = words[at] == '%' && at + 1 < words.size()
                                   ? static_cast<std::size_t>(words[at + 1] - '1')
                                   : refusal.args.size();
      if (slot < refusal.args.size()) {
        out += refusal.args[slot];
        ++at;
      } else {
        out += words[at];
      }
    }
    return out;
  };
  // The entries without a caption are the input-message dialog's.
  return {fill(entry.text), entry.caption, entry.icon, fill(entry.hint), entry.caption.empty()};
}

void MessageSink::Refuse(const Refusal& refusal) {
  const RefusalMessage message = DescribeRefusal(refusal);
  if (message.text.empty()) return;
  if (message.inputDialog) {
    InputMessage(refusal.input, message.text, message.hint);
  } else {
    MessageBox(message.text, message.caption, message.icon);
  }
}

void ReportRefusal(const Refusal& refusal, MessageSink& sink) { sink.Refuse(refusal); }

void ReportNotices(const Notices& notices, MessageSink& sink) {
  for (const Refusal& notice : notices) sink.Refuse(notice);
}

}  // namespace calvoro
