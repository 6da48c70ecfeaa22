#include "ui/conversion_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

#include "app/calculation_runner.h"
#include "app/input_filter.h"
#include "ui/qt_text.h"
#include "ui/window_work.h"

namespace calvoro::ui {

namespace {

constexpr QSize kWindowSize(600, 290);

}  // namespace

ConversionWindow::ConversionWindow(const std::string& settingsPath, MessageSink* sink,
                                   QWidget* parent)
    : ShellWindow(kWindowSize, WindowStyle::Conversion, settingsPath, sink, parent),
      model_(settings().data, this->sink()),
      work_(new WindowWork(this)) {
  setWindowTitle(ToQt(conversion_window_text::kTitle));
  BuildControls();
  FillUnitCombos();
}

void ConversionWindow::BuildControls() {
  namespace text = conversion_window_text;
  QLabel* title = AddStatic(ToQt(text::kTitle), QRect(14, 10, 380, 24));
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPixelSize(15);
  title->setFont(titleFont);
  AddFrameButtons(kWindowSize.width() - 12, 12);

  AddStatic(ToQt(text::kCategoryLabel), QRect(14, 48, 110, 26));
  category_ = new QComboBox(this);
  category_->setGeometry(126, 48, 170, 26);
  for (std::string_view name : ConversionModel::kCategories) category_->addItem(ToQt(name));
  category_->setCurrentText(QStringLiteral("Area"));
  connect(category_, &QComboBox::currentIndexChanged, this, &ConversionWindow::OnCategory);

  // A, B, C on the left; D, E and Output on the right.
  for (int slot = 0; slot <= ConversionModel::kOutputSlot; ++slot) {
    const int column = slot / 3, row = slot % 3;
    const int x = 14 + column * 292, y = 86 + row * 34;
    QLabel* label = AddStatic(ToQt(ConversionModel::kSlotLabels[static_cast<std::size_t>(slot)]),
                              QRect(x, y, 56, 26));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* combo = new QComboBox(this);
    combo->setGeometry(x + 60, y, 222, 26);
    combo->view()->setMinimumWidth(280);
    connect(combo, &QComboBox::currentIndexChanged, this, [this, slot](int row) {
      if (filling_) return;
      if (Blocked()) return ShowChoices();
      model_.ChooseUnit(slot, row);
    });
    units_[static_cast<std::size_t>(slot)] = combo;
  }

  AddStatic(ToQt(text::kInputLabel), QRect(14, 192, 120, 28));
  input_ = new QLineEdit(this);
  input_->setGeometry(136, 192, 330, 28);
  TakeAnyLength(input_);
  input_->setContextMenuPolicy(Qt::NoContextMenu);
  input_->setAcceptDrops(false);
  input_->installEventFilter(this);
  calculate_ = AddButton(ToQt(text::kCalculate), QRect(474, 192, 114, 28), ButtonTone::Accent);
  connect(calculate_, &QAbstractButton::clicked, this, &ConversionWindow::OnCalculate);

  AddStatic(ToQt(text::kOutputLabel), QRect(14, 228, 120, 28));
  output_ = new QLineEdit(this);
  output_->setGeometry(136, 228, 452, 28);
  TakeAnyLength(output_);
  output_->setReadOnly(true);
  QLabel* hint = AddStatic(ToQt(text::kHint), QRect(136, 260, 300, 22));
  hint->setStyleSheet(QStringLiteral("color: #6a7386; font-style: italic;"));
  setTabOrder(category_, units_[0]);
  for (std::size_t i = 1; i < units_.size(); ++i) setTabOrder(units_[i - 1], units_[i]);
  setTabOrder(units_.back(), input_);
}

void ConversionWindow::Initialise() { InitShell(); }

void ConversionWindow::FocusInput() { input_->setFocus(); }

// Every unit combo lists the category's units, none chosen.
void ConversionWindow::FillUnitCombos() {
  filling_ = true;
  for (QComboBox* combo : units_) {
    combo->clear();
    for (const UnitRow& unit : model_.units()) combo->addItem(ToQt(unit.name));
    combo->setCurrentIndex(-1);
  }
  filling_ = false;
}

// While the tip of the day is open a choice is taken back.
void ConversionWindow::ShowChoices() {
  filling_ = true;
  category_->setCurrentIndex(category_->findText(ToQt(model_.category()), Qt::MatchFixedString));
  for (int slot = 0; slot <= ConversionModel::kOutputSlot; ++slot) {
    unitCombo(slot)->setCurrentIndex(model_.chosen(slot));
  }
  filling_ = false;
}

void ConversionWindow::OnCategory(int index) {
  if (filling_ || index < 0) return;
  if (Blocked()) return ShowChoices();
  model_.SelectCategory(FromQt(category_->itemText(index)));
  FillUnitCombos();
}

void ConversionWindow::OnCalculate() {
  if (Blocked()) return;
  // On a thread of its own, on a model of its own with the same choices.
  std::array<int, ConversionModel::kOutputSlot + 1> chosen{};
  for (int slot = 0; slot <= ConversionModel::kOutputSlot; ++slot)
    chosen[static_cast<std::size_t>(slot)] = model_.chosen(slot);
  const auto output = RunOffloaded<std::string>(
      work_->offload(calculate_), sink(),
      [engine_settings = EngineSettings(settings().data), category = model_.category(), chosen,
       input = FromQt(input_->text())](
          MessageSink& sink, const CalculationRunner::StopToken&) -> std::optional<std::string> {
        ConversionModel model(engine_settings, sink);
        model.SelectCategory(category);
        for (int slot = 0; slot <= ConversionModel::kOutputSlot; ++slot)
          model.ChooseUnit(slot, chosen[static_cast<std::size_t>(slot)]);
        if (!model.Calculate(input)) return std::nullopt;
        return model.output();
      });
  if (output) output_->setText(ToQt(*output));
  FocusInput();
}

// The expression field: Enter calculates; other characters only when an
// expression over A to E can hold them.
bool ConversionWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      OnCalculate();
      return true;
    }
    if (key->matches(QKeySequence::Paste)) return true;
    const QString typed = key->text();
    if (typed.size() == 1 && typed.at(0).isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
      return Blocked() || !LetterExprFieldAccepts(typed.at(0).toLatin1());
    }
  }
  return ShellWindow::eventFilter(watched, event);
}

}  // namespace calvoro::ui
