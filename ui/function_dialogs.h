// FunctionListDialog: the function list, a button per function and parameter, and the
// parameters F, K, M, W and Pi. A button hands its entry to the owner, which
// inserts it (through FunctionInputDialog for a function) while the list stays
// open. The caller stores `fields()` after OK and saves.
//
// FunctionInputDialog: the argument of one function, with the angle unit for the
// angle functions; the caller inserts `Insertion()` after OK.
#pragma once

#include <array>
#include <functional>

#include "app/function_models.h"
#include "ui/skinned_dialog.h"

class QLineEdit;
class QRadioButton;

namespace calvoro::ui {

class FunctionListDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  using Request = std::function<void(const FunctionButton&)>;
  FunctionListDialog(const CSysData& record, MessageSink& sink, Request request, QWidget* parent);

  const ParameterFields& fields() const { return fields_; }
  // The button of a control (hidden ones too), or null.
  SkinnedButton* button(FunctionControl control) const;
  // The edit of a parameter, in the order F, K, M, W, PI.
  QLineEdit* edit(int index) const { return edits_[index]; }

  void accept() override;

 private:
  ParameterFields fields_;
  std::vector<std::pair<FunctionControl, SkinnedButton*>> buttons_;
  std::array<QLineEdit*, ParameterFields::kCount> edits_{};
};

class FunctionInputDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  FunctionInputDialog(std::string_view name, CSysData& record, MessageSink& sink,
                      std::function<void()> save, QWidget* parent);

  const FunctionInputModel& input() const { return model_; }
  std::string Insertion() const { return model_.Insertion(); }
  QLineEdit* prefixEdit() const { return prefix_; }
  QLineEdit* argumentEdit() const { return argument_; }
  QRadioButton* radian() const { return radian_; }
  QRadioButton* degree() const { return degree_; }

  void accept() override;

 private:
  FunctionInputModel model_;
  QLineEdit* prefix_ = nullptr;
  QLineEdit* argument_ = nullptr;
  QRadioButton* radian_ = nullptr;
  QRadioButton* degree_ = nullptr;
};

}  // namespace calvoro::ui
