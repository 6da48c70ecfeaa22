// calvoro-cli convert / units: a value converted between two units of the
// catalogue as the quick converter does it, and the catalogue itself.
#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sys_data.h"
#include "cli/cli_args.h"
#include "cli/settings_file.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "engine/expression_text.h"
#include "units/unit_catalogue.h"

namespace calvoro::cli {
namespace {

constexpr std::string_view kUsage =
    "usage: calvoro-cli convert VALUE FROM-UNIT TO-UNIT --category NAME [--precision N]\n"
    "                   [--threshold T] [--settings FILE]\n"
    "       calvoro-cli units [CATEGORY]\n"
    "  convert prints VALUE converted from FROM-UNIT to TO-UNIT, units of the category\n"
    "  NAME written exactly as `calvoro-cli units NAME` lists them. Temperatures put\n"
    "  the value into the unit's formula.\n"
    "  --precision N   fraction digits, 0..1000000\n"
    "  --threshold T   exponent threshold, 0..1000000000\n"
    "  --settings FILE the settings file to read precision, threshold and parameters\n"
    "                  from (default: the calculator's own); it is never written\n"
    "  units lists the categories, or a category's units and their factors (one unit\n"
    "  a line, name and factor separated by a tab).\n";

int UsageError(std::string_view message) {
  std::cerr << "calvoro-cli: " << message << '\n' << kUsage;
  return 2;
}

// A category or unit name that is not in the catalogue: a usage error whose
// message already says what would do.
int NameError(std::string_view message) {
  std::cerr << "calvoro-cli: " << message << '\n';
  return 2;
}

std::string CategoryNames() {
  std::string names;
  for (const auto name : kUnitCategories) {
    if (!names.empty()) names += ", ";
    names += name;
  }
  return names;
}

// Edit distance of two texts, ignoring case.
std::size_t Distance(std::string_view a, std::string_view b) {
  const std::string x = ToLowerAscii(a), y = ToLowerAscii(b);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

// The three names of the list nearest to `name`, nearest first: names that
// begin with it, then names that hold it, then by edit distance (case
// ignored throughout).
std::string NearestNames(const UnitList& units, std::string_view name) {
  const std::string wanted = ToLowerAscii(TrimBlanks(name));
  struct Rank {
    int match;
    std::size_t distance, row;
  };
  std::vector<Rank> ranked;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::string lower = ToLowerAscii(units[i].name);
    const int match = wanted.empty()                            ? 2
                      : lower.starts_with(wanted)               ? 0
                      : lower.find(wanted) != std::string::npos ? 1
                                                                : 2;
    ranked.push_back({match, Distance(wanted, lower), i});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const Rank& l, const Rank& r) {
    return l.match != r.match ? l.match < r.match : l.distance < r.distance;
  });
  std::string out;
  for (std::size_t i = 0; i < ranked.size() && i < 3; ++i) {
    if (!out.empty()) out += ", ";
    out += "'" + units[ranked[i].row].name + "'";
  }
  return out;
}

std::optional<std::size_t> RowOf(const UnitList& units, std::string_view name) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].name == name) return i;
  }
  return std::nullopt;
}

}  // namespace

int RunConvertCommand(Arguments args) {
  std::vector<std::string> positional;
  std::optional<std::string> category, settings_path;
  std::optional<int> precision, threshold;
  bool only_positional = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (only_positional || !arg.starts_with("--")) {
      positional.emplace_back(arg);
    } else if (arg == "--") {
      only_positional = true;
    } else if (arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--category" && has_value) {
      category = args[++i];
    } else if (arg == "--settings" && has_value) {
      settings_path = args[++i];
    } else if (arg == "--precision" && has_value) {
      precision = ParseBounded(args[++i], kMaxPrecision);
      if (!precision) return UsageError("--precision takes a whole number from 0 to 1000000");
    } else if (arg == "--threshold" && has_value) {
      threshold = ParseBounded(args[++i], kMaxExponentThreshold);
      if (!threshold) return UsageError("--threshold takes a whole number from 0 to 1000000000");
    } else {
      return UsageError("unknown option or missing value: " + std::string(arg));
    }
  }
  if (positional.size() != 3) return UsageError("convert takes VALUE FROM-UNIT TO-UNIT");
  if (!category) return UsageError("convert needs --category NAME");
  const UnitList units = CategoryUnits(*category);
  if (units.empty()) {
    return NameError("unknown category '" + *category + "'; categories: " + CategoryNames());
  }
  const auto from = RowOf(units, positional[1]);
  const auto to = RowOf(units, positional[2]);
  for (const auto& [row, name] : {std::pair{from, positional[1]}, std::pair{to, positional[2]}}) {
    if (!row) {
      return NameError("no unit '" + name + "' in " + ToLowerAscii(TrimBlanks(*category)) +
                       "; nearest: " + NearestNames(units, name));
    }
  }

  // The settings as the calculator keeps them; the options hold for this run.
  CSysDataManager manager = settings_path ? CSysDataManager(*settings_path) : CSysDataManager();
  manager.Load();
  if (const auto refused = RefuseUnwritableSettings(manager)) return *refused;
  if (precision) manager.data.precision = *precision;
  if (threshold) manager.data.exponentThreshold = *threshold;

  StderrSink sink;
  UnitEngine engine(manager.data, sink);
  const auto converted =
      engine.ConvertValue(ExpandExponents(TrimBlanks(positional[0])), units[*from], units[*to]);
  if (!converted) return 1;
  std::cout << *converted << '\n';
  return 0;
}

int RunUnitsCommand(Arguments args) {
  if (args.size() == 1 && std::string_view(args[0]) == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (args.size() > 1 || (args.size() == 1 && std::string_view(args[0]).starts_with("--"))) {
    return UsageError("units takes at most one CATEGORY");
  }
  if (args.empty()) {
    for (const auto name : kUnitCategories) std::cout << name << '\n';
    return 0;
  }
  const UnitList units = CategoryUnits(args[0]);
  if (units.empty()) {
    return NameError("unknown category '" + std::string(args[0]) +
                     "'; categories: " + CategoryNames());
  }
  for (const auto& row : units) std::cout << row.name << '\t' << row.factor << '\n';
  return 0;
}

}  // namespace calvoro::cli
