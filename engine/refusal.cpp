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
    {kPowerTooLarge, "Sorry, the result of the power is too large for the calculator.",
     kCaptionCalvoroWarning},
    {kPowerTooSmall, "Sorry, the result of the power is too small for the calculator.",
     kCaptionCalvoroWarning},
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
};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < std::size(kCatalogue); ++i) {
    if (static_cast<std::size_t>(kCatalogue[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder() &&
                  std::size(kCatalogue) == static_cast<std::size_t>(kRobotOutOfMemory) + 1,
              "one catalogue entry per refusal, in the order of RefusalId");

}  // namespace

RefusalMessage DescribeRefusal(const Refusal& refusal) {
  const CatalogueEntry* entry = &kCatalogue[static_cast<std::size_t>(refusal.id)];
  RefusalMessage out{{}, entry->caption, entry->icon};
  const std::string_view text = entry->text;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const std::size_t slot = text[at] == '%' && at + 1 < text.size()
                                 ? static_cast<std::size_t>(text[at + 1] - '1')
                                 : refusal.args.size();
    if (slot < refusal.args.size()) {
      out.text += refusal.args[slot];
      ++at;
    } else {
      out.text += text[at];
    }
  }
  return out;
}

void ReportRefusal(const Refusal& refusal, MessageSink& sink) {
  const RefusalMessage message = DescribeRefusal(refusal);
  sink.MessageBox(message.text, message.caption, message.icon);
}

}  // namespace calvoro
