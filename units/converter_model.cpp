// The quick converter's behaviour: tabs, conversions, Select and the
// conversion items.
#include "units/converter_model.h"

#include <algorithm>

#include "app/input_filter.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/syntax_check.h"
#include "numeric/number_text.h"

namespace calvoro {
namespace {

constexpr std::string_view kNoInputUnit =
    "Please select the input unit name from the input unit list";
constexpr std::string_view kNoOutputUnit =
    "Please select the output unit name from the output unit list";
constexpr std::string_view kNoInputValue = "Please input the input value first";
constexpr std::string_view kSelectNoInput = "Please select input unit first.";
constexpr std::string_view kSelectNoOutput = "Please select output unit first.";
constexpr std::string_view kFailedToConvert = "Failed to convert.";
constexpr std::string_view kSelectNoItem = "Please select the item from the list.";
constexpr std::string_view kDoubleClickNoItem = "Please select the list item first.";
constexpr std::string_view kEditNoItem = "Please select the item first.";
constexpr std::string_view kRemoveNoItem = "Please select the removed item first.";
constexpr std::string_view kNoDescription = "Please input the description of the conversion first.";
constexpr std::string_view kNoValue = "Please input the value of the conversion first.";
constexpr std::string_view kBadValue =
    "The value should be a number (0.45359237) or an expression that follows a number "
    "(*1.8+32).";

struct Shortcut {
  std::string_view description;
  std::string_view value;
};

constexpr Shortcut kShortcuts[] = {
    {"Acre->Square Meter", "4046.856422"},
    {"Calorie->Joule", "4.1855"},
    {"Centimetre->Inch", "0.39370078740157"},
    {"Celsius->Fahrenheit", "*1.8+32"},
    {"Fahrenheit->Celsius", "*0.5556-17.78"},
    {"Fluid Ounce(UK)->Mililiter", "28.41312059"},
    {"Fluid Ounce(US)->Mililiter", "29.57352956"},
    {"Foot->Meter", "0.3048"},
    {"Foot/Second->Meter/Second", "0.3048"},
    {"Gallon[UK]->Litre", "4.546099295"},
    {"Gallon[US]->Litre", "3.785411784"},
    {"Gram->Ounce", "0.0035273961943359"},
    {"Horsepower->Kilowatt", "0.745699871"},
    {"Inch->Centimetre", "2.54"},
    {"Joule->Calorie", "0.23892008123283"},
    {"Kilogram->Pound", "2.2046226218488"},
    {"Kilogram/Square meter->Pound/Square foot", "0.205"},
    {"Kilometre->Mile", "0.62137119223733"},
    {"Kilometre->Nautical Miles", "0.53964"},
    {"Kilometre/Hour->Knots", "0.5396"},
    {"Kilometre/Hour->Mile/Hour", "0.62137119223733"},
    {"Kilowatt->Horsepower", "1.3410220906421"},
    {"Knot->Kilometre/Hour", "1.853"},
    {"Knot->Mile/Hour", "1.151"},
    {"Litre->Gallon[UK]", "0.21996879854777"},
    {"Litre->Gallon[US]", "0.26417205235815"},
    {"Metre->Foot", "3.2808398950131"},
    {"Metre/Second->Foot/Second", "3.281"},
    {"Metre/Second->Knot", "1.9426"},
    {"Metre->Nautical Mile", "0.00053995680345572"},
    {"Metre->Yard", "1.0936132983377"},
    {"Mile->Kilometre", "1.609344"},
    {"Mile->Nautical Mile", "0.869"},
    {"Mililiter->Fluid Ounce[UK]", "0.035195007772"},
    {"Mililiter->Fluid Ounce[US]", "0.033814022704701"},
    {"Nautical Mile->Mile", "1.51"},
    {"Nautical Mile->Kilometre", "1.8539"},
    {"Ounce->Gram", "28.34952313"},
    {"Pound->Kilogram", "0.45359237"},
    {"Squre centimetre->Square inch", "0.1552"},
    {"Squre metre->Acre", "0.00024710538149159"},
    {"Squre metre->Squre Foot", "10.764"},
};

// A decimal number with an optional sign, one point at most.
bool IsPlainNumber(std::string_view text) {
  return IsNumber(text, Radix::kDecimal, {.plus = true});
}

void Inform(MessageSink& sink, std::string_view text) {
  sink.MessageBox(text, kCaptionCalvoroMessage, MessageIcon::Information);
}

}  // namespace

std::vector<ConversionItem> BuiltInShortcuts() {
  std::vector<ConversionItem> items;
  items.reserve(std::size(kShortcuts));
  for (const auto& s : kShortcuts) {
    items.push_back({"", std::string(s.value), std::string(s.description), 1});
  }
  return items;
}

void AddSelectItem(std::vector<ConversionItem>& history, ConversionItem item) {
  if (history.size() < kHistoryLimit) {
    history.push_back(std::move(item));
    return;
  }
  std::move(history.begin() + 1, history.begin() + kHistoryLimit, history.begin());
  history[kHistoryLimit - 1] = std::move(item);
}

ConversionItemModel::ConversionItemModel(MessageSink& sink) : sink_(&sink) {}

ConversionItemModel::ConversionItemModel(MessageSink& sink, const ConversionItem& item)
    : catalog(-1), description(item.description), value(item.value), sink_(&sink) {
  const auto found = std::find(kCatalogs.begin(), kCatalogs.end(), item.catalog);
  if (found != kCatalogs.end()) catalog = static_cast<int>(found - kCatalogs.begin());
}

bool ConversionItemModel::Accept() {
  if (TrimBlanks(description).empty()) {
    Inform(*sink_, kNoDescription);
    return false;
  }
  const std::string expanded = ToLowerAscii(ExpandExponents(TrimBlanks(value)));
  if (expanded.empty()) {
    Inform(*sink_, kNoValue);
    return false;
  }
  // A tail must make a sound expression after a number: "1" + "*1.8+32".
  SyntaxViolation violation;
  const std::string_view operators = "*/+-^";
  const bool tail = operators.find(expanded.front()) != std::string_view::npos &&
                    operators.find(expanded.back()) == std::string_view::npos &&
                    CountBrackets(expanded).Balanced() &&
                    CheckSyntax("1" + expanded, NumberBase::Decimal, violation);
  if (!IsPlainNumber(expanded) && !tail) {
    Inform(*sink_, kBadValue);
    return false;
  }
  return true;
}

ConversionItem ConversionItemModel::Item() const {
  const bool chosen = catalog >= 0 && catalog < static_cast<int>(kCatalogs.size());
  return {chosen ? std::string(kCatalogs[static_cast<std::size_t>(catalog)]) : std::string(),
          std::string(TrimBlanks(value)), std::string(TrimBlanks(description)), 1};
}

ConverterModel::ConverterModel(CSysData& data, std::function<void()> save, MessageSink& sink)
    : data_(data),
      save_(std::move(save)),
      sink_(sink),
      engine_(data, sink),
      shortcuts_(BuiltInShortcuts()) {
  SelectTab(kConverterTabs.front().name);
}

ConverterModel::ConverterModel(CSysDataManager& settings, MessageSink& sink)
    : ConverterModel(
          settings.data, [&settings] { settings.Save(); }, sink) {}

bool ConverterModel::OnUnitTab() const { return tab_ != kShortcutTab && tab_ != kHistoryTab; }

void ConverterModel::SelectTab(std::string_view name) {
  const auto known = std::find_if(kConverterTabs.begin(), kConverterTabs.end(),
                                  [&](const ConverterTab& t) { return t.name == name; });
  if (known == kConverterTabs.end()) return;
  tab_ = std::string(name);
  selected_.clear();
  input_units_.clear();
  output_units_.clear();
  input_row_ = output_row_ = -1;
  if (!OnUnitTab()) {
    engine_.LoadUnitCategory("");
    RefreshItems();
    return;
  }
  items_.clear();
  engine_.LoadUnitCategory(tab_);
  for (const auto& row : engine_.units()) {
    input_units_.push_back({row.name, FormatFactorText(row.factor, data_)});
  }
  output_units_ = input_units_;
  if (!input_units_.empty()) input_row_ = output_row_ = 0;
  input_text_ = output_text_ = "1";
}

void ConverterModel::ClickInputUnit(int row) {
  input_row_ = row >= 0 && row < static_cast<int>(input_units_.size()) ? row : -1;
  Convert();
}

void ConverterModel::ClickOutputUnit(int row) {
  output_row_ = row >= 0 && row < static_cast<int>(output_units_.size()) ? row : -1;
  Convert();
}

bool ConverterModel::AcceptsInputChar(std::string_view text, std::size_t at, char c) const {
  if (c == '-') return tab_ == "temperature" && at == 0 && text.find('-') == std::string_view::npos;
  // Nothing goes in front of the minus.
  if (at == 0 && !text.empty() && text.front() == '-' && c != kBackspaceKey) return false;
  // The converter field's filter, and one point at most.
  return ConvFloatFieldAccepts(c) && (c != '.' || text.find('.') == std::string_view::npos);
}

void ConverterModel::InputEdited(std::string text, char typed) {
  input_text_ = std::move(text);
  if (ConvFloatFieldNotifies(typed)) Convert();
}

void ConverterModel::SetInputText(std::string text) { input_text_ = std::move(text); }

bool ConverterModel::Convert() {
  if (!OnUnitTab()) return false;
  const auto warn = [this](std::string_view text) {
    sink_.MessageBox(text, kCaptionCalvoro, MessageIcon::Warning);
    return false;
  };
  if (input_row_ < 0) return warn(kNoInputUnit);
  if (output_row_ < 0) return warn(kNoOutputUnit);
  if (TrimBlanks(input_text_).empty()) return warn(kNoInputValue);
  const auto& units = engine_.units();
  if (static_cast<std::size_t>(input_row_) >= units.size() ||
      static_cast<std::size_t>(output_row_) >= units.size())
    return false;
  auto converted =
      RunOffloaded<std::string>(offload_, sink_,
                                [settings = EngineSettings(data_), value = input_text_,
                                 from = units[static_cast<std::size_t>(input_row_)],
                                 to = units[static_cast<std::size_t>(output_row_)]](
                                    MessageSink& sink, const CalculationRunner::StopToken&) {
                                  UnitEngine engine(settings, sink);
                                  return engine.ConvertValue(value, from, to);
                                });
  if (!converted) return false;
  output_text_ = std::move(*converted);
  return true;
}

void ConverterModel::SelectItems(std::vector<int> rows) {
  std::erase_if(rows, [this](int r) { return r < 0 || r >= static_cast<int>(items_.size()); });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  selected_ = std::move(rows);
}

std::vector<ConversionItem>* ConverterModel::CurrentItems() {
  if (tab_ == kShortcutTab) return &shortcuts_;
  if (tab_ == kHistoryTab) return &data_.conversionItems;
  return nullptr;
}

void ConverterModel::RefreshItems() {
  items_.clear();
  if (const auto* list = CurrentItems()) {
    for (const auto& item : *list) {
      items_.push_back({item.description, FormatFactorText(item.value, data_)});
    }
  }
  SelectItems(selected_);
}

std::optional<ConversionItem> ConverterModel::HistoryItem() {
  const auto& in = engine_.units()[static_cast<std::size_t>(input_row_)];
  const auto& out = engine_.units()[static_cast<std::size_t>(output_row_)];
  if (!data_.addSingleConversionToHistory) {
    return ConversionItem{"", output_text_, input_text_ + " " + in.name + " -> " + out.name, 1};
  }
  // One input unit in output units; a temperature row converts the value 1.
  const auto value = IsFormulaFactor(in.factor)
                         ? engine_.ConvertValue("1", in, out)
                         : engine_.EvaluateRounded(ExpandExponents(in.factor) + "/(" +
                                                   ExpandExponents(out.factor) + ")");
  if (!value) {
    Inform(sink_, kFailedToConvert);
    return std::nullopt;
  }
  return ConversionItem{"", *value, "1 " + in.name + " ->  " + out.name, 1};
}

bool ConverterModel::SelectOnUnitTab() {
  if (input_row_ < 0) {
    Inform(sink_, kSelectNoInput);
    return false;
  }
  if (output_row_ < 0) {
    Inform(sink_, kSelectNoOutput);
    return false;
  }
  auto item = HistoryItem();
  if (!item) return false;
  result_ += ExpandExponents(output_text_);
  AddSelectItem(data_.conversionItems, std::move(*item));
  save_();
  return true;
}

bool ConverterModel::SelectItem(std::string_view none_selected) {
  const auto* list = CurrentItems();
  if (list == nullptr || selected_.empty()) {
    Inform(sink_, none_selected);
    return false;
  }
  result_ = ExpandExponents((*list)[static_cast<std::size_t>(selected_.front())].value);
  return true;
}

bool ConverterModel::Select() {
  return OnUnitTab() ? SelectOnUnitTab() : SelectItem(kSelectNoItem);
}

bool ConverterModel::DoubleClickItem() {
  return OnUnitTab() ? false : SelectItem(kDoubleClickNoItem);
}

void ConverterModel::New(const ItemDialog& dialog) {
  ConversionItemModel form(sink_);
  if (!dialog(form)) return;
  data_.conversionItems.push_back(form.Item());
  save_();
  RefreshItems();
}

void ConverterModel::Edit(const ItemDialog& dialog) {
  auto* list = CurrentItems();
  if (list == nullptr || selected_.empty()) {
    Inform(sink_, kEditNoItem);
    return;
  }
  auto& item = (*list)[static_cast<std::size_t>(selected_.front())];
  ConversionItemModel form(sink_, item);
  if (!dialog(form)) return;
  item = form.Item();
  if (list == &data_.conversionItems) save_();
  RefreshItems();
}

void ConverterModel::Remove() {
  auto* list = CurrentItems();
  if (list == nullptr || selected_.empty()) {
    Inform(sink_, kRemoveNoItem);
    return;
  }
  for (auto row = selected_.rbegin(); row != selected_.rend(); ++row) {
    list->erase(list->begin() + *row);
  }
  selected_.clear();
  if (list == &data_.conversionItems) save_();
  RefreshItems();
}

}  // namespace calvoro
