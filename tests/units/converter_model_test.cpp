// The quick converter: tabs and unit lists, conversion on every change,
// Select with the history rule, shortcuts and the item form.
#include "units/converter_model.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

int RowOf(const std::vector<UnitListRow>& rows, std::string_view name) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << name;
  return -1;
}

class ConverterModelTest : public ::testing::Test {
 protected:
  void Choose(std::string_view tab, std::string_view from, std::string_view to) {
    model.SelectTab(tab);
    model.ClickInputUnit(RowOf(model.input_units(), from));
    model.ClickOutputUnit(RowOf(model.output_units(), to));
  }
  // The last message, as "caption: text".
  std::string Last() const {
    return sink.empty() ? "" : sink.messages.back().caption + ": " + sink.messages.back().text;
  }

  CSysData data;
  int saves = 0;
  RecordingSink sink;
  ConverterModel model{data, [this] { ++saves; }, sink};
};

TEST_F(ConverterModelTest, OpensOnLengthWithTheFirstRowsAndOnes) {
  EXPECT_EQ(model.tab(), "length");
  ASSERT_EQ(model.input_units().size(), 30u);
  EXPECT_EQ(model.input_units()[0].name, "angstroms");
  EXPECT_EQ(model.input_row(), 0);
  EXPECT_EQ(model.output_row(), 0);
  EXPECT_EQ(model.input_text(), "1");
  EXPECT_EQ(model.output_text(), "1");
  EXPECT_TRUE(sink.empty());
}

TEST_F(ConverterModelTest, FactorsAreShownBySettings) {
  data.exponentThreshold = 5;
  model.SelectTab("length");
  EXPECT_EQ(model.input_units()[RowOf(model.input_units(), "angstroms")].factor, "1E-10");
  EXPECT_EQ(model.input_units()[RowOf(model.input_units(), "parsec")].factor, "3.085677E+16");
  EXPECT_EQ(model.input_units()[RowOf(model.input_units(), "inch")].factor, "0.0254");
  model.SelectTab("speed");  // fractions are shown as written
  EXPECT_EQ(model.output_units()[RowOf(model.output_units(), "kilometre/hour")].factor, "1/3.6");
  model.SelectTab("temperature");
  EXPECT_EQ(model.input_units()[0].factor, "x*9/5+32");
}

TEST_F(ConverterModelTest, ConvertsOnClicksAndDigits) {
  Choose("length", "inch", "foot(UK and US)");
  EXPECT_EQ(model.output_text(), "0.0833333333");
  model.InputEdited("3", '3');
  EXPECT_EQ(model.output_text(), "0.25");
  model.InputEdited("3.", '.');  // "." and Backspace do not convert
  model.InputEdited("3", '\b');
  model.InputEdited("", '\b');
  EXPECT_EQ(model.output_text(), "0.25");
  model.InputEdited("36", '6');
  Choose("speed", "kilometre/hour", "metre/second [m/s]");
  model.InputEdited("36", '6');
  EXPECT_EQ(model.output_text(), "10");
  Choose("temperature", "Fahrenheit (F)", "Celsius (C)");
  model.InputEdited("212", '2');
  EXPECT_EQ(model.output_text(), "100");
  EXPECT_TRUE(sink.empty()) << Last();
}

TEST_F(ConverterModelTest, ConversionMessages) {
  model.ClickInputUnit(-1);
  EXPECT_EQ(Last(), "Calvoro: Please select the input unit name from the input unit list");
  model.ClickInputUnit(2);
  model.ClickOutputUnit(99);  // no row there
  EXPECT_EQ(Last(), "Calvoro: Please select the output unit name from the output unit list");
  model.ClickOutputUnit(3);
  model.InputEdited(" ", '\b');
  EXPECT_FALSE(model.Convert());
  EXPECT_EQ(Last(), "Calvoro: Please input the input value first");
  EXPECT_EQ(sink.messages.back().icon, MessageIcon::Warning);
}

TEST_F(ConverterModelTest, InputFieldTakesDigitsOnePointAndOnTemperaturesOneLeadingMinus) {
  struct Case {
    const char* tab;
    const char* text;  // without the selection the character replaces
    std::size_t at;
    char c;
    bool taken;
  } cases[] = {
      {"length", "", 0, '7', true},       {"length", "12", 2, '.', true},
      {"length", "1.2", 3, '.', false},   {"length", "1.2", 3, '\b', true},
      {"length", "", 0, '-', false},      {"length", "1", 1, '+', false},
      {"length", "1", 1, 'e', false},     {"length", "1", 1, ' ', false},
      {"temperature", "", 0, '-', true},  {"temperature", "40", 0, '-', true},
      {"temperature", "4", 1, '-', false}, {"temperature", "-4", 0, '-', false},
      {"temperature", "-4", 2, '-', false}, {"temperature", "-4", 0, '5', false},
      {"temperature", "-4", 2, '0', true},
  };
  for (const Case& c : cases) {
    model.SelectTab(c.tab);
    EXPECT_EQ(model.AcceptsInputChar(c.text, c.at, c.c), c.taken) << c.tab << " " << c.text << " " << c.c;
  }
}

TEST_F(ConverterModelTest, MinusFortyFahrenheitIsMinusFortyCelsius) {
  Choose("temperature", "Fahrenheit (F)", "Celsius (C)");
  model.InputEdited("-", '-');
  model.InputEdited("-4", '4');
  model.InputEdited("-40", '0');
  EXPECT_EQ(model.output_text(), "-40");
  EXPECT_TRUE(sink.empty());
}

TEST_F(ConverterModelTest, SelectOnAUnitTabRecordsTheConversion) {
  Choose("area", "acre", "hectare");
  model.InputEdited("2", '2');
  ASSERT_TRUE(model.Select());
  EXPECT_EQ(model.result(), "0.8093712845");
  ASSERT_EQ(data.conversionItems.size(), 1u);
  EXPECT_EQ(data.conversionItems[0], (ConversionItem{"", "0.8093712845", "2 acre -> hectare", 1}));
  EXPECT_EQ(saves, 1);
}

TEST_F(ConverterModelTest, SelectWithTheSingleUnitSetting) {
  data.addSingleConversionToHistory = true;
  Choose("area", "acre", "hectare");
  model.InputEdited("5", '5');
  ASSERT_TRUE(model.Select());
  EXPECT_EQ(model.result(), "2.0234282112");
  ASSERT_EQ(data.conversionItems.size(), 1u);
  EXPECT_EQ(data.conversionItems[0], (ConversionItem{"", "0.4046856422", "1 acre ->  hectare", 1}));
  Choose("temperature", "Celsius (C)", "Fahrenheit (F)");
  ASSERT_TRUE(model.Select());
  EXPECT_EQ(data.conversionItems[1].value, "33.8");
  EXPECT_TRUE(sink.empty()) << Last();
}

TEST_F(ConverterModelTest, SelectHandsBackPlainDigits) {
  data.exponentThreshold = 5;
  Choose("length", "parsec", "kilometre");
  EXPECT_EQ(model.output_text(), "3.085677E+13");
  ASSERT_TRUE(model.Select());
  EXPECT_EQ(model.result(), "30856770000000");
}

TEST_F(ConverterModelTest, SelectRefusals) {
  model.ClickInputUnit(-1);
  sink.messages.clear();
  EXPECT_FALSE(model.Select());
  EXPECT_EQ(Last(), "Calvoro Message: Please select input unit first.");
  model.ClickInputUnit(0);
  model.ClickOutputUnit(-1);
  EXPECT_FALSE(model.Select());
  EXPECT_EQ(Last(), "Calvoro Message: Please select output unit first.");
  model.SelectTab(kShortcutTab);
  EXPECT_FALSE(model.Select());
  EXPECT_EQ(Last(), "Calvoro Message: Please select the item from the list.");
  EXPECT_FALSE(model.DoubleClickItem());
  EXPECT_EQ(Last(), "Calvoro Message: Please select the list item first.");
  EXPECT_TRUE(data.conversionItems.empty());
  EXPECT_EQ(saves, 0);
}

TEST(ConverterHistoryTest, KeepsThirtySelectItems) {
  const auto history = [](int size) {
    std::vector<ConversionItem> items;
    for (int i = 0; i < size; ++i) items.push_back({"", std::to_string(i), "h", 1});
    return items;
  };
  auto items = history(29);
  AddSelectItem(items, {"", "new", "h", 1});
  EXPECT_EQ(items.size(), 30u);
  EXPECT_EQ(items.back().value, "new");
  items = history(30);
  AddSelectItem(items, {"", "new", "h", 1});
  ASSERT_EQ(items.size(), 30u);
  EXPECT_EQ(items[0].value, "1");
  EXPECT_EQ(items[28].value, "29");
  EXPECT_EQ(items[29].value, "new");
  items = history(32);  // items beyond the thirtieth (added by New) stay
  AddSelectItem(items, {"", "new", "h", 1});
  ASSERT_EQ(items.size(), 32u);
  EXPECT_EQ(items[0].value, "1");
  EXPECT_EQ(items[29].value, "new");
  EXPECT_EQ(items[30].value, "30");
}

TEST_F(ConverterModelTest, ShortcutsAndHistoryItems) {
  model.SelectTab(kShortcutTab);
  ASSERT_EQ(model.items().size(), 42u);
  EXPECT_EQ(model.items().front().description, "Acre->Square Meter");
  EXPECT_EQ(model.items()[3].value, "*1.8+32");
  EXPECT_EQ(model.items().back().description, "Squre metre->Squre Foot");
  model.SelectItems({38});
  EXPECT_EQ(model.items()[38].description, "Pound->Kilogram");
  ASSERT_TRUE(model.Select());
  EXPECT_EQ(model.result(), "0.45359237");

  data.conversionItems = {{"Other", "1.5E3", "big", 1}, {"", "*2", "double", 1}};
  model.SelectTab(kHistoryTab);
  ASSERT_EQ(model.items().size(), 2u);
  EXPECT_EQ(model.items()[0].value, "1500");
  model.SelectItems({0});
  ASSERT_TRUE(model.DoubleClickItem());
  EXPECT_EQ(model.result(), "1500");
}

TEST_F(ConverterModelTest, NewEditRemove) {
  const auto fill = [](std::string description, std::string value) {
    return [=](ConversionItemModel& form) {
      form.catalog = 8;
      form.description = description;
      form.value = value;
      return form.Accept();
    };
  };
  model.SelectTab(kShortcutTab);
  model.New(fill("Stone->Kilogram", "6.35029318"));
  ASSERT_EQ(data.conversionItems.size(), 1u);  // New goes to the history
  EXPECT_EQ(data.conversionItems[0], (ConversionItem{"Other", "6.35029318", "Stone->Kilogram", 1}));
  EXPECT_EQ(saves, 1);
  model.New([](ConversionItemModel&) { return false; });  // cancelled
  EXPECT_EQ(data.conversionItems.size(), 1u);

  bool opened = false;
  model.SelectTab(kHistoryTab);
  model.Edit([&](ConversionItemModel&) { return opened = true; });
  EXPECT_FALSE(opened);
  EXPECT_EQ(Last(), "Calvoro Message: Please select the item first.");
  model.SelectItems({0});
  model.Edit([](ConversionItemModel& form) {
    EXPECT_EQ(form.catalog, 8);
    EXPECT_EQ(form.value, "6.35029318");
    form.value = "*6.35029318";
    return form.Accept();
  });
  EXPECT_EQ(data.conversionItems[0].value, "*6.35029318");
  EXPECT_EQ(model.items()[0].value, "*6.35029318");
  EXPECT_EQ(saves, 2);

  model.New(fill("two", "2"));
  model.New(fill("three", "3"));
  model.SelectItems({0, 2});
  model.Remove();
  ASSERT_EQ(data.conversionItems.size(), 1u);
  EXPECT_EQ(data.conversionItems[0].description, "two");
  EXPECT_EQ(saves, 5);
  model.Remove();
  EXPECT_EQ(Last(), "Calvoro Message: Please select the removed item first.");

  // Shortcut changes last while the dialog is open.
  model.SelectTab(kShortcutTab);
  model.SelectItems({0, 1});
  model.Remove();
  EXPECT_EQ(model.items().size(), 40u);
  EXPECT_EQ(saves, 5);
  const testing::TestFolder folder("converter_history");
  CSysDataManager manager(folder.Path("SysData.dat"));
  manager.data = data;
  ConverterModel reopened(manager, sink);
  reopened.SelectTab(kShortcutTab);
  EXPECT_EQ(reopened.items().size(), 42u);
  // Through a manager the history is saved to its file at once.
  reopened.New(fill("four", "4"));
  CSysDataManager loaded(manager.filePath);
  loaded.Load();
  ASSERT_EQ(loaded.data.conversionItems.size(), 2u);
  EXPECT_EQ(loaded.data.conversionItems[1].description, "four");
}

TEST(ConversionItemModelTest, Validation) {
  struct Case {
    const char* description;
    const char* value;
    const char* message;  // "" when accepted
  };
  const Case cases[] = {
      {"Pound->Kilogram", "0.45359237", ""},
      {"Celsius->Fahrenheit", "*1.8+32", ""},
      {"big", "1.5e3", ""},
      {"neg", "-17.78", ""},
      {"tail", "/(2+3)", ""},
      {" ", "2", "Please input the description of the conversion first."},
      {"x", "  ", "Please input the value of the conversion first."},
      {"x", "abc",
       "The value should be a number (0.45359237) or an expression that follows a number "
       "(*1.8+32)."},
      {"x", "1.2.3",
       "The value should be a number (0.45359237) or an expression that follows a number "
       "(*1.8+32)."},
      {"x", "*",
       "The value should be a number (0.45359237) or an expression that follows a number "
       "(*1.8+32)."},
      {"x", "*(2",
       "The value should be a number (0.45359237) or an expression that follows a number "
       "(*1.8+32)."},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    ConversionItemModel form(sink);
    form.description = c.description;
    form.value = c.value;
    EXPECT_EQ(form.Accept(), std::string_view(c.message).empty()) << c.value;
    EXPECT_EQ(sink.empty() ? "" : sink.messages.back().text, c.message) << c.value;
  }
  RecordingSink sink;
  EXPECT_EQ(ConversionItemModel(sink, {"Volumn", "1", "d", 1}).catalog, 2);
  EXPECT_EQ(ConversionItemModel(sink, {"", "1", "d", 1}).catalog, -1);
  EXPECT_EQ(ConversionItemModel(sink).Item(), (ConversionItem{"Length", "", "", 1}));
}

}  // namespace
}  // namespace calvoro
