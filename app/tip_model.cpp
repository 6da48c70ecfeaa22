// The tips of the day and the tip dialog's handling of the record.
#include "app/tip_model.h"

#include <array>
#include <utility>

namespace calvoro {
namespace {

constexpr std::array<std::string_view, kTipCount> kTips = {
    "The value of Pi in this calculator is  \r\n"
    "3."
    "1415926535897932384626433832795028841971693993751058209749445923078164062862089986280348253421"
    "1706798",
    "The function and parameter list dialog only saves the user parameter value in the decimal "
    "scale.",
    "The float number converter requires the converted float number must be less than or equal to "
    "100 bit integer part and 100 bit float part.That means, the total length of the float number "
    "should be less than 200 bit.If you need more huge float number can be converted, please "
    "contact us directly.",
    "The user defined parameter could be used in the expression directly.e.g. 35.16+M+F+W*37.8",
    "The expression converter can convert the expression among binary,octal,decimal,hex scale.",
    "The octal expression calculator only includes +,-,*,/,^,(,) as the operator. Its float number "
    "only includes 0,1,2,3,4,5,6,7 and point.",
    "When using the function, you must input the bracket, e.g. Sin(12.5).",
    "The converter will record your historical conversion in the history tab.",
    "From the setting dialog,you could define the precision of calculation",
    "By clicking the resize button,you could select different window style.",
    "In the mix expression calculator, the hex number must begin with 0h, the binary number must "
    "begin with 0b,the octal number must begin with 0, the decimal number just input directly.",
    "The five memory variables could remember your latest results of calculation.",
    "You could use the system parameter Pi directly: 5Pi+78(34.5+89.6)",
    "By selecting the detail filter, the robot could finish your mathematic home work quickly.",
    "If your expression includes the function or operator power, then the result is computed to "
    "the precision you set, correctly rounded.",
    "The function fac(X) could get the each digit of the result of the factorial in very short "
    "time.E.g:Fac(25)=15511210043330985984000000.However, if you use the function to talke the "
    "multiplication,it will take a longer time.",
    "In the mini style calculator,you could open the Log manager with the hot key Ctrl+Shift+L",
    "In the mini style calculator,you could open the setting dialog with the hot key:Ctrl+Shift+S",
    "In the mini style calculator, you could open the converter dialog with the hot "
    "key:CTRL+Shift+C",
    "In the mini style calculator,you could open the complex calculator with the hot "
    "key:CTRL+Shift+P",
    "By using the BackSpace key, you could delete one letter or one digit,or the selected block",
    "In the complex expression calculator, you can calculate different complex in one expression.",
    "You could set the value of the user defined parameter from the input field with the following "
    "format: (M)=-3.794",
    "You could copy your calculation into the clipboard with CTRL+C",
    "You could paste your input from the clipboard with CTRL+V",
    "The function Int(),Abs() are the huge float number functions.",
    "With the geneal filter,Robot could only export the expression in the input text file to the "
    "new file.",
    "The binary expression calculator only includes +,-,*,/,^,(,) as the operator. Its float "
    "number only includes 0,1,and point.",
    "A huge float number calculator, Calvoro could calculate any huge float number with +,-,*,/",
    "By setting the Exponent notation - absolute value of Most Significant Bit from the setting "
    "dialog, you could indict when to display the float number with the exponent format.e.g: "
    "1.32325E+8",
};

}  // namespace

std::string_view TipText(int index) {
  if (index < 0 || index >= kTipCount) return {};
  return kTips[static_cast<std::size_t>(index)];
}

int NextTipIndex(int index) { return index + 1 >= kTipCount ? 0 : index + 1; }

int PreviousTipIndex(int index) { return index - 1 < 0 ? kTipCount - 1 : index - 1; }

TipModel::TipModel(CSysData& record, std::function<void()> save)
    : record_(record), save_(std::move(save)), showAtStart_(record.showTips) {
  if (record_.tipIndex < 0 || record_.tipIndex >= kTipCount) record_.tipIndex = 0;
  record_.tipOpen = true;
}

TipModel::~TipModel() {
  if (open_) record_.tipOpen = false;
}

void TipModel::Next() {
  if (open_) record_.tipIndex = NextTipIndex(record_.tipIndex);
}

void TipModel::Previous() {
  if (open_) record_.tipIndex = PreviousTipIndex(record_.tipIndex);
}

void TipModel::Close() {
  if (!open_) return;
  open_ = false;
  record_.showTips = showAtStart_;
  record_.tipIndex = NextTipIndex(record_.tipIndex);
  record_.tipOpen = false;
  if (save_) save_();
}

}  // namespace calvoro
