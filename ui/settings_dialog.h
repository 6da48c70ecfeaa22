// SettingsDialog: the settings dialog over SettingsModel. Modal; the caller reads
// `values()` after OK, stores them into its record and saves.
#pragma once

#include "app/settings_model.h"
#include "ui/skinned_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace calvoro::ui {

class SettingsDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  // Shows the values of `record`, which it never changes.
  SettingsDialog(const CSysData& record, MessageSink& sink, QWidget* parent);

  const SettingsValues& values() const { return model_.values(); }

  QRadioButton* radian() const { return radian_; }
  QRadioButton* degree() const { return degree_; }
  QCheckBox* minimizeToTray() const { return tray_; }
  QCheckBox* conversionHistory() const { return history_; }
  QLineEdit* precisionEdit() const { return precision_; }
  QLineEdit* thresholdEdit() const { return threshold_; }
  // The per-base figures: binary, octal, decimal, hexadecimal.
  QLabel* figure(int index) const { return figures_[index]; }
  SkinnedButton* okButton() const { return ok_; }
  SkinnedButton* cancelButton() const { return cancel_; }

  void accept() override;

 private:
  void ShowFigures();
  void FocusRefused();

  SettingsModel model_;
  QRadioButton* radian_ = nullptr;
  QRadioButton* degree_ = nullptr;
  QCheckBox* tray_ = nullptr;
  QCheckBox* history_ = nullptr;
  QLineEdit* precision_ = nullptr;
  QLineEdit* threshold_ = nullptr;
  QLabel* figures_[4] = {};
  SkinnedButton* ok_ = nullptr;
  SkinnedButton* cancel_ = nullptr;
};

}  // namespace calvoro::ui
