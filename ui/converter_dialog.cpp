#include "ui/converter_dialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/input_filter.h"
#include "ui/help.h"
#include "ui/qt_text.h"
#include "ui/window_work.h"

namespace calvoro::ui {

namespace {

// 493 by 326 dialog units.
constexpr QSize kConverterSize(740, 530);
constexpr QSize kItemFormSize(420, 220);
constexpr int kRowWidth = 716;  // the lists and the tab row, 12 pixels in from each side

QLineEdit* NewEdit(QWidget* parent, const QRect& place) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(place);
  edit->setContextMenuPolicy(Qt::NoContextMenu);
  edit->setDragEnabled(false);
  edit->setAcceptDrops(false);
  return edit;
}

}  // namespace

ConverterList::ConverterList(const std::string_view* columns, SelectionMode mode, QWidget* parent)
    : QTableWidget(0, 2, parent) {
  setHorizontalHeaderLabels({ToQt(columns[0]), ToQt(columns[1])});
  setSelectionBehavior(SelectRows);
  setSelectionMode(mode);
  setEditTriggers(NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(22);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  connect(this, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { emit rowChosen(index.row()); });
  connect(this, &QTableWidget::currentCellChanged, this, [this](int row) {
    // The mouse reports its row when the click is complete.
    if (!filling_ && !pressing_ && row >= 0) emit rowChosen(row);
  });
}

void ConverterList::SetRowTexts(
    int count, const std::function<std::pair<std::string, std::string>(int)>& row) {
  filling_ = true;
  clearContents();
  setRowCount(count);
  for (int i = 0; i < count; ++i) {
    const auto [first, second] = row(i);
    setItem(i, 0, new QTableWidgetItem(ToQt(first)));
    setItem(i, 1, new QTableWidgetItem(ToQt(second)));
  }
  filling_ = false;
}

void ConverterList::SetRows(const std::vector<UnitListRow>& rows) {
  SetRowTexts(static_cast<int>(rows.size()), [&](int i) {
    const UnitListRow& r = rows[static_cast<std::size_t>(i)];
    return std::pair{r.name, r.factor};
  });
}

void ConverterList::SetRows(const std::vector<ItemListRow>& rows) {
  SetRowTexts(static_cast<int>(rows.size()), [&](int i) {
    const ItemListRow& r = rows[static_cast<std::size_t>(i)];
    return std::pair{r.description, r.value};
  });
}

void ConverterList::ShowSelected(int row) {
  filling_ = true;
  if (row >= 0 && row < rowCount()) {
    setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToItem(item(row, 0));
  } else {
    clearSelection();
  }
  filling_ = false;
}

int ConverterList::SelectedRow() const {
  const std::vector<int> rows = SelectedRows();
  return rows.empty() ? -1 : rows.front();
}

std::vector<int> ConverterList::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void ConverterList::mousePressEvent(QMouseEvent* event) {
  pressedBelowRows_ = !indexAt(event->position().toPoint()).isValid();
  pressing_ = true;
  QTableWidget::mousePressEvent(event);
  pressing_ = false;
}

void ConverterList::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  if (pressedBelowRows_ && !indexAt(event->position().toPoint()).isValid()) {
    pressedBelowRows_ = false;
    clearSelection();
    emit rowChosen(-1);
  }
}

ConverterDialog::ConverterDialog(CSysData& record, std::function<void()> save, MessageSink* sink,
                                 QWidget* parent)
    : SkinnedDialog(kConverterSize, QStringLiteral("Unit Converter"), parent),
      ownSink_(sink ? nullptr : std::make_unique<QtMessageSink>(this)),
      sink_(sink ? *sink : *ownSink_),
      model_(record, std::move(save), sink_) {
  BuildControls();
  // A long conversion runs on a thread of its own, Stop over the Output.
  model_.set_offload((new WindowWork(this))->offload(outputEdit_));
  Show();
  inputEdit_->setFocus();
}

ConverterDialog::~ConverterDialog() = default;

void ConverterDialog::AddCommand(const QString& caption, std::string_view tip, const QRect& place,
                                 std::function<void()> command) {
  SkinnedButton* button = AddButton(caption, place, ButtonTone::Tool);
  button->setToolTip(ToQt(tip));
  connect(button, &QAbstractButton::clicked, this, std::move(command));
  buttons_.insert(caption, button);
}

void ConverterDialog::BuildControls() {
  namespace text = converter_text;
  // The tab row spans the lists; each tab is as wide as its caption needs
  // and the room left is shared out evenly.
  const int tabCount = static_cast<int>(kConverterTabs.size());
  int captions = 0;
  for (const ConverterTab& tab : kConverterTabs)
    captions += fontMetrics().horizontalAdvance(ToQt(tab.caption));
  const int padding = (kRowWidth - (tabCount - 1) * 2 - captions) / tabCount;
  int x = 12;
  for (const ConverterTab& tab : kConverterTabs) {
    const int width = fontMetrics().horizontalAdvance(ToQt(tab.caption)) + padding;
    SkinnedButton* button = AddButton(ToQt(tab.caption), QRect(x, 38, width, 26), ButtonTone::Base);
    button->setCheckable(true);
    const std::string_view name = tab.name;
    connect(button, &QAbstractButton::clicked, this, [this, name] { SelectTab(name); });
    tabs_.insert(ToQt(tab.name), button);
    x += width + 2;
  }

  inputList_ = new ConverterList(text::kInputUnitColumns, QAbstractItemView::SingleSelection, this);
  inputList_->setGeometry(12, 72, 354, 352);
  outputList_ =
      new ConverterList(text::kOutputUnitColumns, QAbstractItemView::SingleSelection, this);
  outputList_->setGeometry(374, 72, 354, 352);
  for (ConverterList* list : {inputList_, outputList_}) list->setColumnWidth(0, 210);
  connect(inputList_, &ConverterList::rowChosen, this, [this](int row) {
    model_.ClickInputUnit(row);
    ShowOutput();
  });
  connect(outputList_, &ConverterList::rowChosen, this, [this](int row) {
    model_.ClickOutputUnit(row);
    ShowOutput();
  });

  QLabel* inputLabel = AddStatic(ToQt(text::kInputLabel), QRect(12, 434, 48, 28));
  inputEdit_ = NewEdit(this, QRect(62, 434, 304, 28));
  QLabel* outputLabel = AddStatic(ToQt(text::kOutputLabel), QRect(374, 434, 56, 28));
  outputEdit_ = NewEdit(this, QRect(432, 434, 296, 28));
  outputEdit_->setReadOnly(true);
  inputEdit_->installEventFilter(this);
  connect(inputEdit_, &QLineEdit::textEdited, this, [this](const QString& edited) {
    const char typed = typed_;
    typed_ = 0;
    model_.InputEdited(FromQt(edited), typed);
    ShowOutput();
  });
  unitPage_ = {inputList_, outputList_, inputLabel, inputEdit_, outputLabel, outputEdit_};

  itemList_ = new ConverterList(text::kItemColumns, QAbstractItemView::ExtendedSelection, this);
  itemList_->setGeometry(12, 72, 716, 390);
  itemList_->setColumnWidth(0, 420);
  connect(itemList_, &QTableWidget::itemSelectionChanged, this,
          [this] { model_.SelectItems(itemList_->SelectedRows()); });
  connect(itemList_, &QAbstractItemView::doubleClicked, this, [this] {
    model_.SelectItems(itemList_->SelectedRows());
    if (model_.DoubleClickItem()) accept();
  });

  for (QWidget* watched : {static_cast<QWidget*>(inputList_), static_cast<QWidget*>(outputList_),
                           static_cast<QWidget*>(itemList_), static_cast<QWidget*>(outputEdit_)}) {
    watched->installEventFilter(this);
  }

  // Select, New, Edit, Remove, Close and Help, centred under the lists.
  struct Command {
    const char* caption;
    std::string_view tip;
    std::function<void()> run;
  };
  const Command commands[] = {
      {"Select", text::kSelectTip, [this] { OnSelect(); }},
      {"New", text::kNewTip, [this] { OnNew(); }},
      {"Edit", text::kEditTip, [this] { OnEdit(); }},
      {"Remove", text::kRemoveTip, [this] { OnRemove(); }},
      {"Close", text::kCloseTip, [this] { reject(); }},
      {"Help", text::kHelpTip, [this] { OpenHelp(sink_, this); }},
  };
  x = 40;
  for (const Command& command : commands) {
    AddCommand(QString::fromLatin1(command.caption), command.tip, QRect(x, 484, 100, 30),
               command.run);
    x += 112;
  }
  SetDefaultButton(buttons_.value(QStringLiteral("Select")));
  SetHelpButton(buttons_.value(QStringLiteral("Help")));
}

SkinnedButton* ConverterDialog::tabButton(std::string_view name) const {
  return tabs_.value(ToQt(name));
}

// The tab's page: the unit lists with Input and Output, or the item list.
void ConverterDialog::Show() {
  for (auto tab = tabs_.cbegin(); tab != tabs_.cend(); ++tab) {
    tab.value()->setChecked(FromQt(tab.key()) == model_.tab());
  }
  const bool units = model_.OnUnitTab();
  for (QWidget* widget : unitPage_) widget->setVisible(units);
  itemList_->setVisible(!units);
  if (units) {
    inputList_->SetRows(model_.input_units());
    outputList_->SetRows(model_.output_units());
    inputList_->ShowSelected(model_.input_row());
    outputList_->ShowSelected(model_.output_row());
    inputEdit_->setText(ToQt(model_.input_text()));
    ShowOutput();
  } else {
    itemList_->SetRows(model_.items());
    itemList_->clearSelection();
    for (int row : model_.selected_items()) {
      itemList_->selectionModel()->select(itemList_->model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
}

void ConverterDialog::ShowOutput() {
  outputEdit_->setText(ToQt(model_.output_text()));
  inputList_->ShowSelected(model_.input_row());
  outputList_->ShowSelected(model_.output_row());
}

void ConverterDialog::SelectTab(std::string_view name) {
  model_.SelectTab(name);
  Show();
  if (model_.OnUnitTab()) {
    inputEdit_->setFocus();
    inputEdit_->selectAll();
  } else {
    itemList_->setFocus();
  }
}

void ConverterDialog::NextTab(int step) {
  const int count = static_cast<int>(kConverterTabs.size());
  int index = 0;
  while (index < count && kConverterTabs[static_cast<std::size_t>(index)].name != model_.tab())
    ++index;
  SelectTab(kConverterTabs[static_cast<std::size_t>((index + step + count) % count)].name);
}

void ConverterDialog::OnSelect() {
  if (!model_.OnUnitTab()) model_.SelectItems(itemList_->SelectedRows());
  if (model_.Select()) accept();
}

bool ConverterDialog::RunItemDialog(ConversionItemModel& form) {
  ConversionItemDialog dialog(form, this);
  return dialog.exec() == QDialog::Accepted;
}

void ConverterDialog::OnNew() {
  model_.New([this](ConversionItemModel& form) { return RunItemDialog(form); });
  Show();
}

void ConverterDialog::OnEdit() {
  model_.Edit([this](ConversionItemModel& form) { return RunItemDialog(form); });
  Show();
}

void ConverterDialog::OnRemove() {
  model_.Remove();
  Show();
}

bool ConverterDialog::HandleKey(QKeyEvent* event, const QObject* from) {
  const auto mods =
      event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  const int key = event->key();
  if (mods & Qt::ControlModifier) {
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
      NextTab(key == Qt::Key_Backtab || (mods & Qt::ShiftModifier) ? -1 : 1);
      return true;
    }
    return false;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    OnSelect();
    return true;
  }
  if (key == Qt::Key_Delete && from == itemList_) {
    OnRemove();
    return true;
  }
  return false;
}

// Input takes digits, one point and Backspace; a digit converts.
bool ConverterDialog::FilterInputKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) return true;
  if (event->key() == Qt::Key_Backspace) {
    typed_ = kBackspaceKey;
    return false;
  }
  const QString typed = event->text();
  if (typed.size() != 1 || !typed.at(0).isPrint()) return false;
  QString kept = inputEdit_->text();
  int at = inputEdit_->cursorPosition();
  if (inputEdit_->hasSelectedText()) {
    at = inputEdit_->selectionStart();
    kept.remove(at, inputEdit_->selectedText().size());
  }
  const char c = typed.at(0).toLatin1();
  if (!model_.AcceptsInputChar(FromQt(kept), static_cast<std::size_t>(at), c)) return true;
  typed_ = c;
  return false;
}

bool ConverterDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (HandleKey(key, watched)) return true;
    if (watched == inputEdit_) return FilterInputKey(key);
  }
  return SkinnedDialog::eventFilter(watched, event);
}

void ConverterDialog::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event, this)) return event->accept();
  SkinnedDialog::keyPressEvent(event);
}

ConversionItemDialog::ConversionItemDialog(ConversionItemModel& form, QWidget* parent)
    : SkinnedDialog(kItemFormSize, QStringLiteral("Conversion Item"), parent), form_(form) {
  AddStatic(QStringLiteral("Catalog:"), QRect(24, 48, 90, 26));
  catalog_ = new QComboBox(this);
  catalog_->setGeometry(118, 48, 170, 26);
  for (std::string_view name : ConversionItemModel::kCatalogs) catalog_->addItem(ToQt(name));
  catalog_->setCurrentIndex(form.catalog);
  AddStatic(QStringLiteral("Description:"), QRect(24, 86, 90, 26));
  description_ = NewEdit(this, QRect(118, 86, 278, 26));
  description_->setText(ToQt(form.description));
  AddStatic(QStringLiteral("Value:"), QRect(24, 124, 90, 26));
  value_ = NewEdit(this, QRect(118, 124, 278, 26));
  value_->setText(ToQt(form.value));
  SkinnedButton* ok = AddButton(QStringLiteral("OK"), QRect(118, 172, 80, 28), ButtonTone::Accent);
  connect(ok, &QAbstractButton::clicked, this, &ConversionItemDialog::accept);
  SkinnedButton* cancel = AddButton(QStringLiteral("Cancel"), QRect(210, 172, 80, 28));
  SetDefaultButton(ok);
  connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
  description_->setFocus();
}

void ConversionItemDialog::accept() {
  form_.catalog = catalog_->currentIndex();
  form_.description = FromQt(description_->text());
  form_.value = FromQt(value_->text());
  if (form_.Accept()) SkinnedDialog::accept();
}

}  // namespace calvoro::ui
