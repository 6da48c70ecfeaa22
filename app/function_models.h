// The function list and the function input dialog without their widgets.
//
// The list shows one button per function and parameter; a button asks the
// owner window to insert its text, and a function name first goes through
// the input dialog, which asks for the argument (and, for the angle
// functions, the angle unit) and gives back "name(argument)". The list also
// holds the parameters F, K, M, W and Pi, which the owner stores after OK.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/sys_data.h"
#include "engine/message_sink.h"

namespace calvoro {

// The function list's control numbers, one per button.
enum class FunctionControl {
  kSin = 106,
  kArcsin = 107,
  kSinh = 108,
  kArsinh = 109,
  kCos = 110,
  kArccos = 111,
  kCosh = 112,
  kArcosh = 113,
  kTan = 114,
  kArctan = 115,
  kTanh = 116,
  kArtanh = 117,
  kExp = 118,
  kLn = 119,
  kInt = 120,
  kAbs = 121,
  kTenPower = 122,
  kLog = 123,
  kRad = 124,
  kDeg = 125,
  kSquare = 126,
  kSqrt = 127,
  kFac = 128,
  kParameterF = 137,
  kParameterK = 143,
  kParameterM = 144,
  kParameterW = 145,
  kParameterPi = 146,
};

// One button of the function list.
struct FunctionButton {
  enum class Kind {
    Function,   // a function name: the input dialog asks for its argument
    Operator,   // "10^" and "^2", inserted as they are
    Parameter,  // F, K, M, W and Pi, inserted as they are
    Hidden,     // in the list but never shown
  };
  FunctionControl control;
  std::string_view caption;  // "&" marks the mnemonic letter
  std::string_view tooltip;  // empty: none
  std::string_view insert;   // what the owner inserts
  Kind kind;

  bool opensInput() const { return kind == Kind::Function; }
};

// Every button of the list in the dialog's order, the hidden ones included.
std::span<const FunctionButton> FunctionButtons();

// The function input dialog.
class FunctionInputModel {
 public:
  // `name` is trimmed and lower-cased. The angle unit is the record's, and a
  // change of it is written into the record and saved at once with `save`.
  FunctionInputModel(std::string_view name, CSysData& record, MessageSink& sink,
                     std::function<void()> save);

  const std::string& name() const { return name_; }
  // The read-only text before the argument: the name and "(".
  const std::string& prefix() const { return prefix_; }
  // The Radian/Degree pair shows only for the angle functions.
  bool angleButtonsShown() const { return angleButtons_; }
  bool useRadian() const { return record_.angleRadian; }
  void SelectRadian() { SetAngle(true); }
  void SelectDegree() { SetAngle(false); }

  void SetArgument(std::string_view argument) { argument_ = argument; }
  const std::string& argument() const { return argument_; }
  // OK: arcsin and arccos refuse an argument beyond [-1, 1] with a message
  // and stay open (false).
  bool Ok();
  // What the owner inserts after OK: prefix, argument and ")".
  std::string Insertion() const { return prefix_ + argument_ + ")"; }

 private:
  void SetAngle(bool radian);

  std::string name_;
  std::string prefix_;
  std::string argument_;
  bool angleButtons_ = false;
  CSysData& record_;
  MessageSink& sink_;
  std::function<void()> save_;
};

// The parameter fields of the function list: F, K, M, W and the read-only Pi.
class ParameterFields {
 public:
  static constexpr int kCount = 5;
  static constexpr int kPi = 4;
  // The fields' labels in order: "F", "K", "M", "W", "PI".
  static std::string_view Label(int index);

  ParameterFields(const CSysData& record, MessageSink& sink);

  const std::string& text(int index) const { return texts_[index]; }
  // Pi cannot be edited: a change of its field is ignored.
  void SetText(int index, std::string_view text);

  // OK: each of F, K, M and W must be a decimal number; the first that is
  // not raises its message, keeps the dialog open (false) and names the
  // field for the focus.
  bool Ok();
  int focus() const { return focus_; }
  // The five texts into the record (the caller saves).
  void Store(CSysData& record) const;

 private:
  std::array<std::string, kCount> texts_;
  MessageSink& sink_;
  int focus_ = -1;
};

}  // namespace calvoro
