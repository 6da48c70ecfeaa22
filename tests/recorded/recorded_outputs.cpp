// The calculator's outputs recorded once and replayed on every build.
//
//   recorded_outputs record FILE   writes a seeded set of inputs and what the
//                                  Calc command gives for each of them
//   recorded_outputs replay FILE   runs the inputs of FILE again and fails on
//                                  any difference, printing the first five
//                                  (every one with RECORDED_SHOW_ALL set)
//
// The inputs cover every base and Mix, the functions in both angle units,
// parameters, memories, assignments, equations, several precisions and
// exponent thresholds, and inputs that are refused. Each group of inputs runs
// on one settings record, in order, so memories and parameters carry from one
// input to the next as in a window. What is kept for an input: whether it
// passed, the display, the result and the stored value, the step text, every
// message (kind, caption, text, hint), the log line, and Last1 and the
// parameters whenever they change. A replay runs each group twice, once with
// the step text and once without it; both must give what was recorded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/calculator_model.h"
#include "app/sys_data.h"
#include "engine/expression_text.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

// A small generator whose sequence is the same on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kFunctions[] = {
    "sqrt", "sin", "cos", "tan",    "sec",    "ln",     "log",    "exp",  "abs",  "int",
    "fac",  "deg", "rad", "arcsin", "arccos", "arctan", "arcsec", "sinh", "cosh", "tanh"};

std::string_view DigitsOf(NumberBase base) {
  switch (base) {
    case NumberBase::Binary:
      return "01";
    case NumberBase::Octal:
      return "01234567";
    case NumberBase::Hex:
      return "0123456789ABCDEFabcdef";
    default:
      return "0123456789";
  }
}

// Builds the inputs of one group.
class InputMaker {
 public:
  InputMaker(Random& random, NumberBase base) : random_(random), base_(base) {}

  std::string Input() {
    const int kind = random_.Below(100);
    if (kind < 6) return Equation();
    if (kind < 9) return Assignment();
    if (kind < 11) return Number(false);
    std::string text = Expression(0);
    if (kind < 24) Mutate(text);
    if (random_.Chance(5)) text = " " + text + "  ";
    if (random_.Chance(5)) text = Upper(text);
    return text;
  }

 private:
  std::string Digits(int count, NumberBase base) {
    const std::string_view digits = DigitsOf(base);
    std::string out;
    for (int i = 0; i < count; ++i) {
      // Mostly a decimal digit first, so that hex numbers read as numbers.
      const int limit = i == 0 && base == NumberBase::Hex && random_.Chance(80)
                            ? 10
                            : static_cast<int>(digits.size());
      out += digits[static_cast<std::size_t>(random_.Below(limit))];
    }
    return out;
  }

  std::string Number(bool small) {
    NumberBase base = base_;
    std::string head;
    if (base_ == NumberBase::Mix) {
      constexpr NumberBase kBases[] = {NumberBase::Binary, NumberBase::Octal, NumberBase::Decimal,
                                       NumberBase::Decimal, NumberBase::Hex};
      base = random_.Pick(kBases);
      head = std::string(HeadOfBase(base));
      if (base == NumberBase::Octal) head = "0";
    }
    const int size = small ? 1 + random_.Below(2)
                           : (random_.Chance(5) ? 10 + random_.Below(15) : 1 + random_.Below(6));
    std::string out = head + Digits(size, base);
    if (random_.Chance(30)) out += "." + Digits(1 + random_.Below(small ? 2 : 8), base);
    if (random_.Chance(2)) out += "00";
    return out;
  }

  std::string Name() {
    constexpr std::string_view kNames[] = {"m",     "k",     "w",     "f",     "pi",
                                           "last1", "last2", "last3", "last4", "last5"};
    std::string_view name = random_.Pick(kNames);
    if (name == "f" && (base_ == NumberBase::Hex || base_ == NumberBase::Mix)) name = "pi";
    return std::string(name);
  }

  std::string Function() {
    std::string_view name = random_.Pick(kFunctions);
    std::string argument;
    if (name == "fac") {
      constexpr std::string_view kArguments[] = {"0", "1",   "5",    "12", "20",
                                                 "3", "2.5", "(-1)", "7"};
      argument = std::string(random_.Pick(kArguments));
    } else if (random_.Chance(50) || name == "exp" || name.ends_with('h')) {
      // A growing function only on a small number: its results stay short.
      argument = Number(true);
      if (random_.Chance(20)) argument = "(-" + argument + ")";
    } else {
      argument = Expression(depth_limit_);
    }
    return std::string(name) + "(" + argument + ")";
  }

  std::string Term(int depth) {
    const int kind = random_.Below(100);
    if (kind < 45 || depth >= depth_limit_) return Number(false);
    if (kind < 55) return Name();
    if (kind < 62) return "(-" + Number(false) + ")";
    if (kind < 72) return Function();
    if (kind < 78)
      return Number(true) + (random_.Chance(50) ? Name() : "(" + Expression(depth + 1) + ")");
    if (kind < 82) return "(" + Expression(depth + 1) + ")(" + Expression(depth + 1) + ")";
    if (kind < 85) return "((" + Number(false) + "))";
    return "(" + Expression(depth + 1) + ")";
  }

  std::string Expression(int depth) {
    std::string out;
    if (random_.Chance(8)) out += random_.Chance(80) ? "-" : "+";
    out += Term(depth);
    const int operators = random_.Below(depth == 0 ? 5 : 3);
    for (int i = 0; i < operators; ++i) {
      const int op = random_.Below(100);
      if (op < 12) {
        constexpr std::string_view kExponents[] = {"2", "3", "0", "1", "5", "0.5", "(-2)", "1.5"};
        out += "^";
        out += random_.Pick(kExponents);
        continue;
      }
      out += op < 40 ? '+' : op < 60 ? '-' : op < 82 ? '*' : '/';
      out += Term(depth);
    }
    return out;
  }

  // A fault put into a good expression: most of these are refused.
  void Mutate(std::string& text) {
    constexpr std::string_view kInserts[] = {"+", "-", "*", "/", "^", "(", ")", ".", "..",
                                             "=", "x", "y", "#", "9", "z", "0", " ", "e"};
    const int kind = random_.Below(8);
    const std::size_t at =
        static_cast<std::size_t>(random_.Below(static_cast<int>(text.size()) + 1));
    switch (kind) {
      case 0:
      case 1:
        text.insert(at, random_.Pick(kInserts));
        break;
      case 2:
        if (!text.empty()) text.erase(std::min(at, text.size() - 1), 1);
        break;
      case 3:
        text += random_.Chance(50) ? "/0" : "/(0.00)";
        break;
      case 4:
        text = "(-" + Number(false) + ")^0.5+" + text;
        break;
      case 5:
        text += random_.Chance(50) ? "+" : "*";
        break;
      case 6:
        text = random_.Chance(50) ? "arcsin(2)+" + text : text + "+arccos(" + Number(true) + ")";
        break;
      default:
        text.insert(at, random_.Chance(50) ? "sqrt(" : "(");
        break;
    }
  }

  std::string Equation() {
    const int kind = random_.Below(12);
    const std::string a = Number(true), b = Number(true), c = Number(true);
    switch (kind) {
      case 0:
        return a + "x+" + b + "=" + c;
      case 1:
        return a + "(x+" + b + ")=" + c + "x-(" + b + "-" + a + ")";
      case 2:
        return "x*" + a + "-" + b + "/" + c + "=" + a + "+x/" + c;
      case 3:
        return "(" + a + "+m)x=" + b;
      case 4:
        return a + "*x*x=" + b;
      case 5:
        return a + "/x=" + b;
      case 6:
        return "x^2=" + b;
      case 7:
        return "sin(x)=" + a;
      case 8:
        return a + "x+" + b;
      case 9:
        return a + "*x)=" + b;
      case 10:
        return "((x=" + b;
      default:
        return "x=" + a + "*(" + b + "-" + c + ")";
    }
  }

  std::string Assignment() {
    constexpr std::string_view kLetters[] = {"m", "k", "w", "f", "M"};
    std::string out = "(" + std::string(random_.Pick(kLetters)) + ")=";
    const int kind = random_.Below(4);
    if (kind == 0) return out + Number(false);
    if (kind == 1) return out + "(-" + Number(true) + ")";
    if (kind == 2) return out + "1.2.3";
    return out + Expression(1);
  }

  static std::string Upper(std::string text) {
    for (char& c : text) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
  }

  Random& random_;
  NumberBase base_;
  int depth_limit_ = 2;
};

// Escapes a field so that it holds no tab and no line break.
std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::vector<std::string> Fields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(Unescaped(line.substr(start, tab - start)));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out += '\t';
    out += Escaped(fields[i]);
  }
  return out;
}

struct GroupSettings {
  NumberBase base = NumberBase::Decimal;
  int precision = 10;
  int threshold = 100;
  bool radian = true;
  std::string params[4] = {"1", "1", "1", "1"};  // F K M W
  std::string pi = std::string(kPiText);
};

constexpr std::string_view kBaseNames[] = {"bin", "oct", "dec", "hex", "mix"};

std::vector<std::string> SettingsFields(const GroupSettings& s) {
  return {"S",
          std::string(kBaseNames[static_cast<int>(s.base)]),
          std::to_string(s.precision),
          std::to_string(s.threshold),
          s.radian ? "rad" : "deg",
          s.params[0],
          s.params[1],
          s.params[2],
          s.params[3],
          s.pi};
}

GroupSettings ParseSettings(const std::vector<std::string>& f) {
  GroupSettings s;
  for (int i = 0; i < 5; ++i) {
    if (f[1] == kBaseNames[i]) s.base = static_cast<NumberBase>(i);
  }
  s.precision = std::stoi(f[2]);
  s.threshold = std::stoi(f[3]);
  s.radian = f[4] == "rad";
  for (int i = 0; i < 4; ++i) s.params[i] = f[5 + i];
  s.pi = f[9];
  return s;
}

GroupSettings MakeSettings(Random& random, int group) {
  GroupSettings s;
  s.base = static_cast<NumberBase>(group % 5);
  constexpr int kPrecisions[] = {0, 1, 2, 3, 5, 8, 10, 10, 12, 16, 24};
  constexpr int kThresholds[] = {0, 1, 3, 5, 8, 10, 20, 100};
  s.precision = random.Pick(kPrecisions);
  s.threshold = random.Pick(kThresholds);
  s.radian = random.Chance(50);
  constexpr std::string_view kValues[] = {"1",      "2",  "0.5", "-2",      "3.25",
                                          "-0.125", "10", "0",   "123.456", "7"};
  for (std::string& p : s.params) p = std::string(random.Pick(kValues));
  if (random.Chance(10)) s.pi = "3.14";
  return s;
}

// One group's settings record and the two models on it (steps on and off).
class Runner {
 public:
  explicit Runner(const GroupSettings& s, bool steps)
      : manager_("/nonexistent/recorded/SysData.dat") {
    CSysData& data = manager_.data;
    data.numberBase = s.base;
    data.precision = s.precision;
    data.exponentThreshold = s.threshold;
    data.angleRadian = s.radian;
    data.paramF = s.params[0];
    data.paramK = s.params[1];
    data.paramM = s.params[2];
    data.paramW = s.params[3];
    data.paramPi = s.pi;
    model_ = std::make_unique<CalculatorModel>(manager_, sink_);
    model_->IgnoreTipOpen();
    model_->set_save_hook([](CSysDataManager&) { return true; });
    model_->set_steps_wanted(steps);
    model_->engine().set_clock([] { return testing::FixedTime(2026, 1, 2, 3, 4); });
  }

  // The fields kept for one input.
  std::vector<std::string> Run(const std::string& input) {
    sink_.messages.clear();
    const std::size_t log_lines = model_->data().logLines.size();
    const CommandResult result = model_->Calculate(input);
    std::vector<std::string> f = {"C", input, result.ok ? "1" : "0"};
    const std::string display(result.display()), shown(result.result()), value(result.value());
    // The display, "*" when it is the input, "=" and the result, and its
    // result written "@R" when it ends in it.
    if (display == input + "=" + shown) {
      f.push_back("*");
    } else if (!shown.empty() && display.ends_with("=" + shown)) {
      f.push_back(display.substr(0, display.size() - shown.size()) + "@R");
    } else {
      f.push_back(display);
    }
    f.push_back(shown);
    f.push_back(value == shown ? "*" : value);
    // The step text opens with the first line twice: written "@2".
    std::string steps = result.steps;
    if (display.size() > shown.size() && display.ends_with("=" + shown)) {
      const std::string first = display.substr(0, display.size() - shown.size() - 1);
      if (steps.starts_with(first + "\r\n=" + first)) steps.replace(0, 2 * first.size() + 3, "@2");
    }
    f.push_back(steps);
    std::string messages;
    for (const testing::RecordedMessage& m : sink_.messages) {
      messages += "[" + std::to_string(static_cast<int>(m.kind)) + "/" +
                  std::to_string(static_cast<int>(m.icon)) + "] " +
                  (m.caption == input ? "@I" : m.caption) + " | " + m.text;
      if (!m.hint.empty()) messages += " | " + m.hint;
      messages += "\n";
    }
    f.push_back(Interned(messages));
    const auto& lines = model_->data().logLines;
    // The log line, the display in it written "@D".
    std::string log = lines.size() == log_lines ? "" : lines.back();
    if (const std::size_t at = log.find(display); !display.empty() && at != std::string::npos)
      log.replace(at, display.size(), "@D");
    f.push_back(log);
    // Last1 and the parameters, when they changed (the other memories are
    // Last1's earlier values, which later inputs read).
    const CSysData& d = model_->data();
    const std::string state =
        model_->memories()[0] + " | " + d.paramF + " " + d.paramK + " " + d.paramM + " " + d.paramW;
    f.push_back(state == state_ ? "*" : state);
    state_ = state;
    return f;
  }

 private:
  CSysDataManager manager_;
  testing::RecordingSink sink_;
  // The messages of an input, "#" and a number when the same messages came
  // before (numbered in the order of the file, so a replay numbers them
  // alike).
  std::string Interned(const std::string& messages) {
    if (messages.empty()) return messages;
    const auto [at, added] = seen_.emplace(messages, static_cast<int>(seen_.size()));
    return added ? messages : "#" + std::to_string(at->second);
  }

  std::unique_ptr<CalculatorModel> model_;
  std::string state_;
  std::map<std::string, int> seen_;
};

constexpr int kGroups = 205;
constexpr int kInputsPerGroup = 100;
constexpr std::size_t kStepsField = 6;
// Differences printed in full; the count covers all.
const int kShownDifferences = std::getenv("RECORDED_SHOW_ALL") ? 1000000 : 5;

int Record(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  Random random(20261208);
  for (int group = 0; group < kGroups; ++group) {
    const GroupSettings settings = MakeSettings(random, group);
    out << Joined(SettingsFields(settings)) << '\n';
    Runner runner(settings, true);
    InputMaker maker(random, settings.base);
    for (int i = 0; i < kInputsPerGroup; ++i) out << Joined(runner.Run(maker.Input())) << '\n';
  }
  return out ? 0 : 1;
}

std::string Shortened(const std::string& text) {
  return text.size() <= 600 ? text : text.substr(0, 600) + "...";
}

int Replay(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << "cannot read " << path << '\n';
    return 1;
  }
  std::unique_ptr<Runner> with_steps, without_steps;
  int inputs = 0, differences = 0;
  int line_number = 0;
  for (std::string line; std::getline(in, line);) {
    ++line_number;
    const std::vector<std::string> recorded = Fields(line);
    if (recorded[0] == "S") {
      const GroupSettings settings = ParseSettings(recorded);
      with_steps = std::make_unique<Runner>(settings, true);
      without_steps = std::make_unique<Runner>(settings, false);
      continue;
    }
    ++inputs;
    const std::string& input = recorded[1];
    std::vector<std::string> now = with_steps->Run(input);
    std::vector<std::string> plain = without_steps->Run(input);
    // Without the step text everything else is the same.
    plain[kStepsField] = recorded[kStepsField];
    for (const auto* got : {&now, &plain}) {
      if (*got == recorded) continue;
      if (++differences <= kShownDifferences) {
        std::cerr << "difference at line " << line_number << " for input \"" << input << "\""
                  << (got == &plain ? " (without steps)" : "")
                  << "\n  recorded: " << Shortened(line)
                  << "\n  now:      " << Shortened(Joined(*got)) << "\n";
      }
      break;
    }
  }
  std::cout << inputs << " recorded inputs replayed, " << differences << " differ\n";
  return differences == 0 && inputs > 0 ? 0 : 1;
}

}  // namespace
}  // namespace calvoro

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: recorded_outputs record|replay FILE\n";
    return 2;
  }
  const std::string mode = argv[1];
  if (mode == "record") return calvoro::Record(argv[2]);
  if (mode == "replay") return calvoro::Replay(argv[2]);
  std::cerr << "unknown mode " << mode << '\n';
  return 2;
}
