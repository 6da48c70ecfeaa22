#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/help.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

// A frame with its title on the dialog's body.
QGroupBox* Group(const QString& title, const QRect& place, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  group->setGeometry(place);
  return group;
}

template <typename Widget>
Widget* Place(Widget* widget, const QRect& place) {
  widget->setGeometry(place);
  return widget;
}

}  // namespace

SettingsDialog::SettingsDialog(const CSysData& record, MessageSink& sink, QWidget* parent)
    : SkinnedDialog(QSize(620, 370), QStringLiteral("Setting"), parent),
      model_(SettingsOf(record), sink) {
  const SettingsValues& values = model_.values();

  QGroupBox* function = Group(QStringLiteral("Function Setting"), QRect(16, 40, 288, 56), this);
  radian_ = Place(new QRadioButton(QStringLiteral("Radian"), function), QRect(16, 24, 100, 22));
  degree_ = Place(new QRadioButton(QStringLiteral("Degree"), function), QRect(140, 24, 100, 22));
  (values.useRadian ? radian_ : degree_)->setChecked(true);
  connect(radian_, &QRadioButton::clicked, this, [this] { model_.SelectRadian(); });
  connect(degree_, &QRadioButton::clicked, this, [this] { model_.SelectDegree(); });

  QGroupBox* layout = Group(QStringLiteral("Layout Setting"), QRect(316, 40, 288, 56), this);
  tray_ = Place(new QCheckBox(QStringLiteral("Minimize to the system tray"), layout),
                QRect(16, 24, 260, 22));
  tray_->setChecked(values.minimizeToTray);
  connect(tray_, &QCheckBox::toggled, this, [this](bool on) { model_.SetMinimizeToTray(on); });

  QGroupBox* huge =
      Group(QStringLiteral("Huge Calculation Setting"), QRect(16, 104, 588, 84), this);
  Place(new QLabel(QStringLiteral("Precision"), huge), QRect(16, 22, 120, 22));
  precision_ = Place(new QLineEdit(ToQt(model_.precisionText()), huge), QRect(472, 22, 100, 22));
  Place(
      new QLabel(QStringLiteral(
                     "Exponent notation - absolute value of Most Significant Bit is equ or larger"),
                 huge),
      QRect(16, 52, 450, 22));
  threshold_ = Place(new QLineEdit(ToQt(model_.thresholdText()), huge), QRect(472, 52, 100, 22));
  // Every change of the precision is read at once; the threshold only on OK.
  connect(precision_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (model_.PrecisionChanged(FromQt(text))) {
      ShowFigures();
    } else {
      FocusRefused();
    }
  });
  connect(threshold_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.ThresholdChanged(FromQt(text)); });

  QGroupBox* conversion =
      Group(QStringLiteral("Conversion Setting"), QRect(16, 196, 588, 52), this);
  history_ = Place(new QCheckBox(QStringLiteral("Add the single unit conversion to the history tab "
                                                "when clicking the select button"),
                                 conversion),
                   QRect(16, 22, 560, 22));
  history_->setChecked(values.addSingleConversionToHistory);
  connect(history_, &QCheckBox::toggled, this,
          [this](bool on) { model_.SetAddSingleConversionToHistory(on); });

  QGroupBox* figures =
      Group(QStringLiteral("Float Number Precision"), QRect(16, 256, 588, 70), this);
  const char* const labels[4] = {"Binary Float Number Precision:", "Octal Float Number Precision:",
                                 "Decimal Float Number Precision:", "Hex Float Number Precision:"};
  for (int i = 0; i < 4; ++i) {
    const int x = 16 + (i % 2) * 288;
    const int y = 20 + (i / 2) * 24;
    Place(new QLabel(QString::fromLatin1(labels[i]), figures), QRect(x, y, 200, 20));
    figures_[i] = Place(new QLabel(figures), QRect(x + 204, y, 72, 20));
  }
  ShowFigures();

  SkinnedButton* help = AddButton(QStringLiteral("Help"), QRect(16, 334, 80, 26));
  help->setToolTip(QStringLiteral("Open the help document"));
  connect(help, &QAbstractButton::clicked, this, [this, &sink] { OpenHelp(sink, this); });
  SetHelpButton(help);
  ok_ = AddButton(QStringLiteral("OK"), QRect(432, 334, 80, 26), ButtonTone::Accent);
  ok_->setToolTip(QStringLiteral("Save the setting and close this dialog"));
  connect(ok_, &QAbstractButton::clicked, this, &QDialog::accept);
  cancel_ = AddButton(QStringLiteral("Cancel"), QRect(524, 334, 80, 26));
  cancel_->setToolTip(QStringLiteral("Cancel the update and close this dialog"));
  connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(ok_);
  (values.useRadian ? radian_ : degree_)->setFocus();
}

void SettingsDialog::ShowFigures() {
  const PrecisionFigures figures = model_.figures();
  const long long numbers[4] = {figures.binary, figures.octal, figures.decimal, figures.hex};
  for (int i = 0; i < 4; ++i) figures_[i]->setText(QString::number(numbers[i]));
}

void SettingsDialog::FocusRefused() {
  QLineEdit* edit =
      model_.focus() == SettingsModel::Field::ExponentThreshold ? threshold_ : precision_;
  edit->setFocus();
  edit->selectAll();
}

// OK (and Enter) closes only when both edits read well.
void SettingsDialog::accept() {
  if (model_.Ok()) return QDialog::accept();
  FocusRefused();
}

}  // namespace calvoro::ui
