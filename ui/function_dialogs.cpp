#include "ui/function_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/float_edit.h"
#include "ui/help.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr int kColumns = 7;

// Where a parameter's button and edit go: F, K, M on the first row, W and
// the wide PI on the second.
struct ParameterPlace {
  QRect button, edit;
};
constexpr ParameterPlace kParameterPlaces[ParameterFields::kCount] = {
    {QRect(12, 130, 36, 24), QRect(52, 130, 128, 24)},
    {QRect(192, 130, 36, 24), QRect(232, 130, 128, 24)},
    {QRect(372, 130, 36, 24), QRect(412, 130, 136, 24)},
    {QRect(12, 162, 36, 24), QRect(52, 162, 128, 24)},
    {QRect(192, 162, 36, 24), QRect(232, 162, 316, 24)},
};

}  // namespace

FunctionListDialog::FunctionListDialog(const CSysData& record, MessageSink& sink, Request request,
                                       QWidget* parent)
    : SkinnedDialog(QSize(560, 240), QStringLiteral("Function and Parameter List"), parent),
      fields_(record, sink) {
  int function = 0;  // visible function buttons so far, placed row by row
  int parameter = 0;
  for (const FunctionButton& entry : FunctionButtons()) {
    const QString caption = ToQt(entry.caption);
    SkinnedButton* button = nullptr;
    if (entry.kind == FunctionButton::Kind::Hidden) {
      button = AddButton(caption, QRect());
      button->hide();
    } else if (entry.kind != FunctionButton::Kind::Parameter) {
      button = AddButton(
          caption, QRect(12 + (function % kColumns) * 77, 38 + (function / kColumns) * 30, 71, 24));
      ++function;
    } else {
      button = AddButton(caption, kParameterPlaces[parameter++].button, ButtonTone::Base);
    }
    if (!entry.tooltip.empty()) button->setToolTip(ToQt(entry.tooltip));
    if (entry.kind != FunctionButton::Kind::Hidden)
      connect(button, &QAbstractButton::clicked, this, [request, &entry] { request(entry); });
    buttons_.emplace_back(entry.control, button);
  }

  for (int i = 0; i < ParameterFields::kCount; ++i) {
    QLineEdit* edit = i == ParameterFields::kPi ? new QLineEdit(this) : new FloatEdit(this);
    edit->setGeometry(kParameterPlaces[i].edit);
    TakeAnyLength(edit);
    edit->setText(ToQt(fields_.text(i)));
    edit->setCursorPosition(0);
    if (i == ParameterFields::kPi) {
      edit->setReadOnly(true);
    } else {
      connect(edit, &QLineEdit::textChanged, this,
              [this, i](const QString& text) { fields_.SetText(i, FromQt(text)); });
    }
    edits_[i] = edit;
  }

  SkinnedButton* help = AddButton(QStringLiteral("Help"), QRect(12, 204, 80, 26));
  connect(help, &QAbstractButton::clicked, this, [this, &sink] { OpenHelp(sink, this); });
  SetHelpButton(help);
  SkinnedButton* ok = AddButton(QStringLiteral("OK"), QRect(376, 204, 80, 26), ButtonTone::Accent);
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  SkinnedButton* cancel = AddButton(QStringLiteral("Cancel"), QRect(468, 204, 80, 26));
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(ok);
}

SkinnedButton* FunctionListDialog::button(FunctionControl control) const {
  for (const auto& [id, button] : buttons_)
    if (id == control) return button;
  return nullptr;
}

void FunctionListDialog::accept() {
  if (fields_.Ok()) return QDialog::accept();
  edits_[fields_.focus()]->setFocus();
  edits_[fields_.focus()]->selectAll();
}

FunctionInputDialog::FunctionInputDialog(std::string_view name, CSysData& record, MessageSink& sink,
                                         std::function<void()> save, QWidget* parent)
    : SkinnedDialog(QSize(340, 150), QStringLiteral("Function Input Dialog"), parent),
      model_(name, record, sink, std::move(save)) {
  prefix_ = new QLineEdit(ToQt(model_.prefix()), this);
  prefix_->setGeometry(16, 44, 80, 24);
  prefix_->setReadOnly(true);
  prefix_->setFocusPolicy(Qt::NoFocus);
  argument_ = new QLineEdit(this);
  argument_->setGeometry(100, 44, 208, 24);
  TakeAnyLength(argument_);
  connect(argument_, &QLineEdit::textChanged, this,
          [this](const QString& text) { model_.SetArgument(FromQt(text)); });
  AddStatic(QStringLiteral(")"), QRect(312, 44, 12, 24));

  radian_ = new QRadioButton(QStringLiteral("Radian"), this);
  radian_->setGeometry(16, 78, 100, 22);
  degree_ = new QRadioButton(QStringLiteral("Degrree"), this);
  degree_->setGeometry(124, 78, 100, 22);
  (model_.useRadian() ? radian_ : degree_)->setChecked(true);
  radian_->setVisible(model_.angleButtonsShown());
  degree_->setVisible(model_.angleButtonsShown());
  connect(radian_, &QRadioButton::clicked, this, [this] { model_.SelectRadian(); });
  connect(degree_, &QRadioButton::clicked, this, [this] { model_.SelectDegree(); });

  SkinnedButton* ok = AddButton(QStringLiteral("OK"), QRect(156, 114, 80, 26), ButtonTone::Accent);
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  SkinnedButton* cancel = AddButton(QStringLiteral("Cancel"), QRect(244, 114, 80, 26));
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(ok);
  argument_->setFocus();
}

void FunctionInputDialog::accept() {
  if (model_.Ok()) return QDialog::accept();
  argument_->setFocus();
}

}  // namespace calvoro::ui
