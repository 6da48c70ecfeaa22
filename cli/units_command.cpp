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
    ranked.push_back({match, EditDistance(wanted, lower), i});
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

int RunConvertCommand(const CommandLine& line) {
  std::optional<int> precision, threshold;
  if (!ReadBoundedOption(line, "precision", kMaxPrecision, precision) ||
      !ReadBoundedOption(line, "threshold", kMaxExponentThreshold, threshold))
    return 2;
  const std::vector<std::string>& positional = line.operands;
  if (positional.size() != 3)
    return UsageError(line.command, "convert takes VALUE FROM-UNIT TO-UNIT");
  const std::optional<std::string> category = line.Value("category");
  if (!category) return UsageError(line.command, "convert needs --category NAME");
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
  const std::optional<std::string> settings_path = line.Value("settings");
  CSysDataManager manager = settings_path ? CSysDataManager(*settings_path) : CSysDataManager();
  manager.Load();
  if (const auto refused = RefuseUnwritableSettings(manager)) return *refused;
  if (precision) manager.data.precision = *precision;
  if (threshold) manager.data.exponentThreshold = *threshold;

  StderrSink sink;
  UnitEngine engine(manager.data);
  const auto converted = ValueOrReport(
      engine.ConvertValue(ExpandExponents(TrimBlanks(positional[0])), units[*from], units[*to]),
      sink);
  if (!converted) return 1;
  std::cout << *converted << '\n';
  return 0;
}

int RunUnitsCommand(const CommandLine& line) {
  if (line.operands.size() > 1) return UsageError(line.command, "units takes at most one CATEGORY");
  if (line.operands.empty()) {
    for (const auto name : kUnitCategories) std::cout << name << '\n';
    return 0;
  }
  const std::string& category = line.operands.front();
  const UnitList units = CategoryUnits(category);
  if (units.empty())
    return NameError("unknown category '" + category + "'; categories: " + CategoryNames());
  for (const auto& row : units) std::cout << row.name << '\t' << row.factor << '\n';
  return 0;
}

}  // namespace calvoro::cli
