// The quick converter without widgets: unit tabs with their two unit lists,
// the Shortcut and History item lists, conversion on every change, Select
// (the text handed back to the calling window), and New, Edit and Remove of
// conversion items with the item form. A thin dialog shows the lists and
// forwards every click and keystroke here.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/calculation_runner.h"
#include "app/sys_data.h"
#include "engine/message_sink.h"
#include "engine/refusal.h"
#include "units/unit_catalogue.h"

namespace calvoro {

// A tab: its name (what the converter calls it) and its button caption.
struct ConverterTab {
  std::string_view name;
  std::string_view caption;
};
inline constexpr std::string_view kShortcutTab = "quickcheck";
inline constexpr std::string_view kHistoryTab = "history";
inline constexpr std::array<ConverterTab, 10> kConverterTabs = {{
    {"length", "Length"},
    {"area", "Area"},
    {"mass", "Mass"},
    {"press", "Press"},
    {"volume", "Volume"},
    {"energy", "Energy"},
    {"speed", "Speed"},
    {"temperature", "Temperature"},
    {kShortcutTab, "Shortcut"},
    {kHistoryTab, "History"},
}};

// Window texts the dialog shows as they are.
namespace converter_text {
inline constexpr std::string_view kInputUnitColumns[] = {"Input Unit Name", "Conversion Factor"};
inline constexpr std::string_view kOutputUnitColumns[] = {"Output Unit Name", "Conversion Factor"};
inline constexpr std::string_view kItemColumns[] = {"Discription of Conversion", "Value"};
inline constexpr std::string_view kInputLabel = "Input:";
inline constexpr std::string_view kOutputLabel = "Output:";
inline constexpr std::string_view kCloseTip = "Close this dialog";
inline constexpr std::string_view kHelpTip = "Help Document.";
inline constexpr std::string_view kSelectTip = "Copy the value of selected item to the inut field";
inline constexpr std::string_view kEditTip = "Edit the selected item";
inline constexpr std::string_view kRemoveTip = "Remove the selected item.";
inline constexpr std::string_view kNewTip = "Creat the new conversion item";
inline constexpr std::string_view kHelpFile = kHelpFileName;
}  // namespace converter_text

// The shortcuts every converter starts with, in order.
std::vector<ConversionItem> BuiltInShortcuts();

// The history keeps at most this many items added by Select.
inline constexpr std::size_t kHistoryLimit = 30;
// Appends a Select item: at the limit or beyond it, the first item goes, the
// second to the thirtieth move up one place and the new item takes the
// thirtieth place.
void AddSelectItem(std::vector<ConversionItem>& history, ConversionItem item);

// The new or edited conversion item (catalog, description, value).
class ConversionItemModel {
 public:
  static constexpr std::array<std::string_view, 9> kCatalogs = {
      "Length", "Area", "Volumn", "Mass", "Press", "Speed", "Energy", "Currency", "Other"};

  // An empty form with the first catalog chosen.
  explicit ConversionItemModel(MessageSink& sink);
  // A form filled with an item (no catalog chosen when the item's is none of
  // the list).
  ConversionItemModel(MessageSink& sink, const ConversionItem& item);

  // OK: true when the item may be kept. The description and the value must
  // not be empty, and the value must be a number or an expression tail that
  // follows a number ("*1.8+32"); otherwise the reason is shown.
  bool Accept();
  ConversionItem Item() const;

  int catalog = 0;  // index into kCatalogs, -1 for none
  std::string description;
  std::string value;

 private:
  MessageSink* sink_;
};

// Runs the item dialog on a form; true when it was closed with OK (after
// Accept succeeded).
using ItemDialog = std::function<bool(ConversionItemModel&)>;

struct UnitListRow {
  std::string name;
  std::string factor;  // as shown
};
struct ItemListRow {
  std::string description;
  std::string value;  // as shown
};

class ConverterModel {
 public:
  // The history lives in `data.conversionItems`; `save` writes the record at
  // once after every change of it. Opens on the length tab.
  ConverterModel(CSysData& data, std::function<void()> save, MessageSink& sink);
  // The calling window's settings: its record, saved through its manager.
  ConverterModel(CSysDataManager& settings, MessageSink& sink);

  // Tabs by name (kConverterTabs); other names are ignored.
  void SelectTab(std::string_view name);
  const std::string& tab() const { return tab_; }
  bool OnUnitTab() const;

  // Unit tabs. Rows are positions in the lists, -1 for none.
  const std::vector<UnitListRow>& input_units() const { return input_units_; }
  const std::vector<UnitListRow>& output_units() const { return output_units_; }
  int input_row() const { return input_row_; }
  int output_row() const { return output_row_; }
  // A click in a unit list (-1 or a row outside the list: no row) selects
  // and converts.
  void ClickInputUnit(int row);
  void ClickOutputUnit(int row);

  const std::string& input_text() const { return input_text_; }
  const std::string& output_text() const { return output_text_; }
  // Whether the Input field takes `c` at `at` of `text` (its text without the
  // selection `c` replaces): digits, one point, Backspace (kBackspaceKey),
  // and on the temperature tab one leading minus (temperatures go below
  // zero).
  bool AcceptsInputChar(std::string_view text, std::size_t at, char c) const;
  // The Input field changed by typing `typed`: a digit converts, "." and
  // Backspace do not.
  void InputEdited(std::string text, char typed);
  // Sets the Input text without converting (pasting, programmatic changes).
  void SetInputText(std::string text);
  // Converts Input into Output; false after a message, or when the user
  // stopped a long conversion (Output stays as it was).
  bool Convert();
  // Conversions run through `offload`, away from the window's thread.
  void set_offload(Offload offload) { offload_ = std::move(offload); }

  // Shortcut and History tabs.
  const std::vector<ItemListRow>& items() const { return items_; }
  const std::vector<int>& selected_items() const { return selected_; }
  void SelectItems(std::vector<int> rows);

  // Select (and a double click in the item list): true when the dialog
  // closes with OK; result() is then the text for the calling window.
  bool Select();
  bool DoubleClickItem();
  const std::string& result() const { return result_; }

  void New(const ItemDialog& dialog);
  void Edit(const ItemDialog& dialog);
  void Remove();

  const std::vector<ConversionItem>& shortcuts() const { return shortcuts_; }
  const std::vector<ConversionItem>& history() const { return data_.conversionItems; }

 private:
  std::vector<ConversionItem>* CurrentItems();
  void RefreshItems();
  bool SelectOnUnitTab();
  bool SelectItem(RefusalId none_selected);
  std::optional<ConversionItem> HistoryItem();

  CSysData& data_;
  std::function<void()> save_;
  MessageSink& sink_;
  UnitEngine engine_;
  std::vector<ConversionItem> shortcuts_;

  std::string tab_;
  std::vector<UnitListRow> input_units_, output_units_;
  int input_row_ = -1, output_row_ = -1;
  std::string input_text_, output_text_;
  std::vector<ItemListRow> items_;
  std::vector<int> selected_;
  std::string result_;
  Offload offload_;
};

}  // namespace calvoro
