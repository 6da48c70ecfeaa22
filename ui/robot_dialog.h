// RobotDialog: the file calculation robot's window over RobotModel.
// Large files show their progress and can be cancelled; the other buttons
// wait while a run goes on.
#pragma once

#include <QString>
#include <functional>

#include "app/calculation_runner.h"
#include "robot/robot_model.h"
#include "ui/skinned_dialog.h"
#include "ui/window_work.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace calvoro::ui {

class RobotDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  // `save` writes the record after a run changed its precision and threshold.
  RobotDialog(CSysData& record, MessageSink& sink, std::function<void()> save, QWidget* parent);

  // The file and folder dialogs; tests replace them.
  std::function<QString()> chooseSource;
  std::function<QString()> chooseFolder;

  void OnBrowse();
  void OnSelectDir();
  void OnCalculate();
  void OnCopy();
  // Stops a run; the destination stays as it was.
  void OnCancel() { work_->Stop(); }
  bool running() const { return work_->active(); }

  RobotModel& model() { return model_; }
  QLineEdit* sourceEdit() const { return source_; }
  QLineEdit* destinationEdit() const { return destination_; }
  QLineEdit* precisionEdit() const { return precision_; }
  QLineEdit* thresholdEdit() const { return threshold_; }
  QPlainTextEdit* logEdit() const { return log_; }
  QRadioButton* actionButton(int index) const { return actions_[index]; }
  QLabel* progressLabel() const { return progress_; }

 private:
  void ShowLog();
  // The command buttons come first in `commands_`, in the order of kButtons.
  SkinnedButton* command(RobotCommand which) const {
    return commands_[static_cast<qsizetype>(which)];
  }

  // The run's messages wait for its end: it runs on a thread of its own.
  HeldSink runSink_;
  RobotModel model_;
  MessageSink& sink_;
  WindowWork* work_;
  std::function<void()> save_;
  QLineEdit* source_;
  QLineEdit* destination_;
  QLineEdit* threshold_;
  QLineEdit* precision_;
  QCheckBox* useExponent_;
  QPlainTextEdit* log_;
  QRadioButton* actions_[5];
  QLabel* progress_;
  QList<SkinnedButton*> commands_;
};

}  // namespace calvoro::ui
