// The quick converter driven like a person: tabs, unit clicks, typed digits,
// Select back into the standard window, the history in the settings file,
// the shortcuts and New/Edit/Remove through the item form.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/converter_dialog.h"
#include "ui/message_dialog.h"
#include "ui/calculator_window.h"
#include "ui/qt_text.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;
using calvoro::testing::TempSettings;
using calvoro::testing::WhenModal;

int RowOf(const QTableWidget& list, const QString& name) {
  for (int row = 0; row < list.rowCount(); ++row)
    if (list.item(row, 0)->text() == name) return row;
  ADD_FAILURE() << "no row " << name.toStdString();
  return -1;
}

void ClickRow(QTableWidget& list, const QString& name, bool twice = false) {
  const int row = RowOf(list, name);
  ASSERT_GE(row, 0);
  list.scrollToItem(list.item(row, 0));
  const QPoint at = list.visualItemRect(list.item(row, 0)).center();
  if (twice) {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  } else {
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
  }
}

void ClickBelowRows(QTableWidget& list) {
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(20, list.viewport()->height() - 4));
}

void Click(QAbstractButton* button) {
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

class ConverterDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<ConverterDialog> Open() {
    auto dialog = std::make_unique<ConverterDialog>(
        record, [this] { ++saves; }, &recorder, nullptr);
    dialog->show();
    return dialog;
  }

  CSysData record;
  int saves = 0;
  RecordingSink recorder;
};

TEST_F(ConverterDialogTest, ConvertsOnEveryClickAndEveryTypedDigit) {
  auto dialog = Open();
  EXPECT_TRUE(dialog->tabButton("length")->isChecked());
  ASSERT_EQ(dialog->inputList()->rowCount(), 30);
  EXPECT_EQ(dialog->inputList()->horizontalHeaderItem(0)->text(), "Input Unit Name");
  EXPECT_EQ(dialog->outputList()->horizontalHeaderItem(1)->text(), "Conversion Factor");
  EXPECT_EQ(dialog->inputList()->SelectedRow(), 0);
  EXPECT_EQ(dialog->outputList()->SelectedRow(), 0);
  EXPECT_EQ(dialog->inputList()->item(0, 0)->text(), "angstroms");
  EXPECT_EQ(dialog->inputEdit()->text(), "1");
  EXPECT_EQ(dialog->outputEdit()->text(), "1");

  ClickRow(*dialog->inputList(), "inch");
  ClickRow(*dialog->outputList(), "foot(UK and US)");
  EXPECT_EQ(dialog->outputEdit()->text(), "0.0833333333");

  // Digits convert; a letter and a second point are refused; "." does not
  // convert.
  dialog->inputEdit()->selectAll();
  QTest::keyClicks(dialog->inputEdit(), "1x2");
  EXPECT_EQ(dialog->inputEdit()->text(), "12");
  EXPECT_EQ(dialog->outputEdit()->text(), "1");
  QTest::keyClicks(dialog->inputEdit(), "..");
  EXPECT_EQ(dialog->inputEdit()->text(), "12.");
  EXPECT_EQ(dialog->outputEdit()->text(), "1");
  QTest::keyClick(dialog->inputEdit(), Qt::Key_6);
  EXPECT_EQ(dialog->outputEdit()->text(), "1.05");

  // The keyboard moves through a list and converts as a click does.
  dialog->outputList()->setFocus();
  QTest::keyClick(dialog->outputList(), Qt::Key_Up);
  EXPECT_EQ(dialog->model().output_row(), RowOf(*dialog->outputList(), "fathom"));
  EXPECT_EQ(dialog->outputEdit()->text(), "0.175");
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(saves, 0);
  calvoro::testing::SaveScreenshot(dialog.get(), QStringLiteral("converter_length"));
}

TEST_F(ConverterDialogTest, UnitTabRefusals) {
  auto dialog = Open();
  Click(dialog->tabButton("temperature"));  // two rows: room to click below them
  // Backspace empties Input without converting; the next click says why.
  dialog->inputEdit()->end(false);
  QTest::keyClick(dialog->inputEdit(), Qt::Key_Backspace);
  EXPECT_TRUE(recorder.empty());
  ClickRow(*dialog->outputList(), "Fahrenheit (F)");
  ClickBelowRows(*dialog->inputList());
  Click(dialog->button("Select"));
  ClickRow(*dialog->inputList(), "Celsius (C)");
  ClickBelowRows(*dialog->outputList());
  Click(dialog->button("Select"));
  const struct {
    const char* text;
    const char* caption;
  } expected[] = {
      {"Please input the input value first", "Calvoro"},
      {"Please select the input unit name from the input unit list", "Calvoro"},
      {"Please select input unit first.", "Calvoro Message"},
      {"Please input the input value first", "Calvoro"},
      {"Please select the output unit name from the output unit list", "Calvoro"},
      {"Please select output unit first.", "Calvoro Message"},
  };
  ASSERT_EQ(recorder.messages.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(recorder.messages[i].text, expected[i].text) << i;
    EXPECT_EQ(recorder.messages[i].caption, expected[i].caption) << i;
  }
  EXPECT_EQ(dialog->outputList()->SelectedRow(), -1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(record.conversionItems.empty());
}

TEST_F(ConverterDialogTest, TabsByMouseAndKeyboard) {
  auto dialog = Open();
  Click(dialog->tabButton("area"));
  EXPECT_EQ(dialog->inputList()->rowCount(), 15);
  EXPECT_FALSE(dialog->tabButton("length")->isChecked());
  EXPECT_TRUE(dialog->tabButton("area")->isChecked());
  EXPECT_EQ(dialog->inputList()->item(RowOf(*dialog->inputList(), "hectare"), 1)->text(), "10000");

  QTest::keyClick(dialog->inputEdit(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(dialog->model().tab(), "mass");
  QTest::keyClick(dialog->inputEdit(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialog->model().tab(), "area");

  Click(dialog->tabButton("quickcheck"));
  EXPECT_FALSE(dialog->inputList()->isVisible());
  EXPECT_FALSE(dialog->inputEdit()->isVisible());
  ASSERT_TRUE(dialog->itemList()->isVisible());
  EXPECT_EQ(dialog->itemList()->horizontalHeaderItem(0)->text(), "Discription of Conversion");
  ASSERT_EQ(dialog->itemList()->rowCount(), 42);
  EXPECT_EQ(dialog->itemList()->item(3, 0)->text(), "Celsius->Fahrenheit");
  EXPECT_EQ(dialog->itemList()->item(3, 1)->text(), "*1.8+32");
  calvoro::testing::SaveScreenshot(dialog.get(), QStringLiteral("converter_shortcuts"));

  Click(dialog->tabButton("temperature"));
  ClickRow(*dialog->outputList(), "Fahrenheit (F)");
  dialog->inputEdit()->selectAll();
  QTest::keyClicks(dialog->inputEdit(), "100");
  EXPECT_EQ(dialog->outputEdit()->text(), "212");
  EXPECT_TRUE(recorder.empty());
}

TEST_F(ConverterDialogTest, ShortcutsHandBackTheirValue) {
  // Without a given sink the dialog shows its own message boxes.
  auto dialog = std::make_unique<ConverterDialog>(record, [] {}, nullptr, nullptr);
  dialog->show();
  Click(dialog->tabButton("quickcheck"));
  QString message, caption;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<MessageDialog*>(modal);
    ASSERT_NE(box, nullptr);
    message = box->text();
    caption = box->windowTitle();
    box->accept();
  });
  Click(dialog->button("Select"));
  EXPECT_EQ(message, "Please select the item from the list.");
  EXPECT_EQ(caption, "Calvoro Message");
  EXPECT_TRUE(dialog->isVisible());
  ClickRow(*dialog->itemList(), "Pound->Kilogram", /*twice=*/true);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), "0.45359237");
  EXPECT_EQ(dialog->result(), FromQt(dialog->itemList()->item(38, 1)->text()));
}

TEST_F(ConverterDialogTest, NewEditRemoveKeepTheHistory) {
  auto dialog = Open();
  Click(dialog->tabButton("history"));
  EXPECT_EQ(dialog->itemList()->rowCount(), 0);

  // New: OK refuses an empty description and keeps the form open.
  WhenModal([&](QWidget* modal) {
    auto* form = qobject_cast<ConversionItemDialog*>(modal);
    ASSERT_NE(form, nullptr);
    QStringList catalogs;
    for (int i = 0; i < form->catalog()->count(); ++i) catalogs << form->catalog()->itemText(i);
    EXPECT_EQ(catalogs, (QStringList{"Length", "Area", "Volumn", "Mass", "Press", "Speed", "Energy",
                                     "Currency", "Other"}));
    QTest::keyClicks(form->value(), "6.35029318");
    QTest::keyClick(form->value(), Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    form->catalog()->setCurrentIndex(3);
    QTest::keyClicks(form->description(), "Stone->Kilogram");
    calvoro::testing::SaveScreenshot(form, QStringLiteral("converter_item_form"));
    Click(form->findChildren<SkinnedButton*>().front());  // OK
  });
  Click(dialog->button("New"));
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Please input the description of the conversion first.");
  ASSERT_EQ(record.conversionItems.size(), 1u);
  EXPECT_EQ(record.conversionItems[0], (ConversionItem{"Mass", "6.35029318", "Stone->Kilogram", 1}));
  EXPECT_EQ(saves, 1);
  ASSERT_EQ(dialog->itemList()->rowCount(), 1);

  // Edit and Remove with nothing selected say so and open nothing.
  dialog->itemList()->clearSelection();
  Click(dialog->button("Edit"));
  Click(dialog->button("Remove"));
  ASSERT_EQ(recorder.messages.size(), 3u);
  EXPECT_EQ(recorder.messages[1].text, "Please select the item first.");
  EXPECT_EQ(recorder.messages[2].text, "Please select the removed item first.");

  ClickRow(*dialog->itemList(), "Stone->Kilogram");
  WhenModal([&](QWidget* modal) {
    auto* form = qobject_cast<ConversionItemDialog*>(modal);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->catalog()->currentText(), "Mass");
    EXPECT_EQ(form->value()->text(), "6.35029318");
    form->value()->selectAll();
    QTest::keyClicks(form->value(), "6.35");
    QTest::keyClick(form->value(), Qt::Key_Enter);
  });
  Click(dialog->button("Edit"));
  EXPECT_EQ(record.conversionItems.at(0).value, "6.35");
  EXPECT_EQ(dialog->itemList()->item(0, 1)->text(), "6.35");

  ClickRow(*dialog->itemList(), "Stone->Kilogram");
  QTest::keyClick(dialog->itemList(), Qt::Key_Delete);
  EXPECT_TRUE(record.conversionItems.empty());
  EXPECT_EQ(dialog->itemList()->rowCount(), 0);
  EXPECT_EQ(saves, 3);
}

// Through the standard window: Ctrl+Shift+C opens the converter on the
// window's record, Select inserts the value at the caret and the history
// item is in the settings file.
class ConverterFromWindowTest : public ::testing::Test {
 protected:
  TempSettings settings;
  RecordingSink recorder;
};

TEST_F(ConverterFromWindowTest, SelectInsertsTheValueAndKeepsThirtyItems) {
  CSysData stored;
  for (int i = 0; i < 30; ++i) stored.conversionItems.push_back({"", std::to_string(i), "item " + std::to_string(i), 1});
  settings.Store(stored);
  StandardWindow window(settings.path(), &recorder);
  window.Initialise();
  window.show();
  QTest::keyClicks(window.input(), "2+");

  WhenModal([&](QWidget* modal) {
    auto* converter = qobject_cast<ConverterDialog*>(modal);
    ASSERT_NE(converter, nullptr);
    Click(converter->tabButton("area"));
    ClickRow(*converter->inputList(), "acre");
    ClickRow(*converter->outputList(), "hectare");
    converter->inputEdit()->selectAll();
    QTest::keyClicks(converter->inputEdit(), "3");
    EXPECT_EQ(converter->outputEdit()->text(), "1.2140569267");
    QTest::keyClick(converter->inputEdit(), Qt::Key_Return);  // Select
  });
  QTest::keyClick(window.input(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(window.input()->text(), "2+1.2140569267");

  const std::vector<ConversionItem> history = settings.Load().conversionItems;
  ASSERT_EQ(history.size(), 30u);
  EXPECT_EQ(history.front().description, "item 1");
  EXPECT_EQ(history.back(), (ConversionItem{"", "1.2140569267", "3 acre -> hectare", 1}));

  // Closing hands nothing back.
  WhenModal([&](QWidget* modal) {
    ASSERT_NE(qobject_cast<ConverterDialog*>(modal), nullptr);
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  window.OnConverter();
  EXPECT_EQ(window.input()->text(), "2+1.2140569267");
}

}  // namespace
}  // namespace calvoro::ui
