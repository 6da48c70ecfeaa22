// The quick converter (ConverterDialog) and its item form (ConversionItemDialog), modal over
// a calculator window. They show what ConverterModel holds (the tabs, the two
// unit lists, the Shortcut and History items) and hand every click and key
// to it; the model converts, selects, keeps the history and raises the
// messages.
//
// Keys: Ctrl+Tab and Ctrl+Shift+Tab change the tab, Enter is Select, Delete
// in the item list is Remove, Escape is Close.
#pragma once

#include <QHash>
#include <QTableWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/qt_message_sink.h"
#include "ui/skinned_dialog.h"
#include "units/converter_model.h"

class QComboBox;
class QLineEdit;
class QLabel;

namespace calvoro::ui {

// A list of the converter: two columns, a grid, whole rows, no editing.
// `rowChosen` reports a row clicked with the mouse (every click, once the
// button is up), a row reached with the keyboard, and -1 for a click below
// the rows.
class ConverterList : public QTableWidget {
  Q_OBJECT
 public:
  ConverterList(const std::string_view* columns, SelectionMode mode, QWidget* parent);
  void SetRows(const std::vector<UnitListRow>& rows);
  void SetRows(const std::vector<ItemListRow>& rows);
  // Selects `row` (none for -1) without reporting it.
  void ShowSelected(int row);
  int SelectedRow() const;
  std::vector<int> SelectedRows() const;

 signals:
  void rowChosen(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetRowTexts(int count, const std::function<std::pair<std::string, std::string>(int)>& row);

  bool pressing_ = false;
  bool pressedBelowRows_ = false;
  bool filling_ = false;
};

class ConverterDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  // The calling window's record; `save` writes it at once. `sink` null: the
  // dialog shows its own message boxes.
  ConverterDialog(CSysData& record, std::function<void()> save, MessageSink* sink, QWidget* parent);
  ~ConverterDialog() override;

  ConverterModel& model() { return model_; }
  // The text for the calling window once the dialog closed with OK.
  const std::string& result() const { return model_.result(); }

  SkinnedButton* tabButton(std::string_view name) const;
  // Select, New, Edit, Remove, Close or Help.
  SkinnedButton* button(const QString& caption) const { return buttons_.value(caption); }
  ConverterList* inputList() const { return inputList_; }
  ConverterList* outputList() const { return outputList_; }
  ConverterList* itemList() const { return itemList_; }
  QLineEdit* inputEdit() const { return inputEdit_; }
  QLineEdit* outputEdit() const { return outputEdit_; }

  // Commands, as the buttons and keys run them.
  void SelectTab(std::string_view name);
  void OnSelect();
  void OnNew();
  void OnEdit();
  void OnRemove();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void AddCommand(const QString& caption, std::string_view tip, const QRect& place,
                  std::function<void()> command);
  // The dialog's keys, wherever the focus is (`from`: the widget that has it).
  bool HandleKey(QKeyEvent* event, const QObject* from);
  bool FilterInputKey(QKeyEvent* event);
  void NextTab(int step);
  bool RunItemDialog(ConversionItemModel& form);
  void Show();
  void ShowOutput();

  std::unique_ptr<QtMessageSink> ownSink_;
  MessageSink& sink_;
  ConverterModel model_;
  QHash<QString, SkinnedButton*> tabs_;
  QHash<QString, SkinnedButton*> buttons_;
  ConverterList* inputList_ = nullptr;
  ConverterList* outputList_ = nullptr;
  ConverterList* itemList_ = nullptr;
  QLineEdit* inputEdit_ = nullptr;
  QLineEdit* outputEdit_ = nullptr;
  std::vector<QWidget*> unitPage_;
  char typed_ = 0;  // the character of the key being typed into Input
};

// A new or edited conversion item: catalog, description and value. OK keeps
// the dialog open while the form refuses its fields.
class ConversionItemDialog : public SkinnedDialog {
  Q_OBJECT
 public:
  ConversionItemDialog(ConversionItemModel& form, QWidget* parent);

  QComboBox* catalog() const { return catalog_; }
  QLineEdit* description() const { return description_; }
  QLineEdit* value() const { return value_; }

  void accept() override;

 private:
  ConversionItemModel& form_;
  QComboBox* catalog_;
  QLineEdit* description_;
  QLineEdit* value_;
};

}  // namespace calvoro::ui
