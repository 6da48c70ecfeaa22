// The file robot on a generated 100,000-line text: lines per second for a
// file of running text with expressions, and for one of plain text only.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "engine/message_sink.h"
#include "robot/file_robot.h"

namespace {

constexpr int kLines = 100000;

class SilentSink : public calvoro::MessageSink {
 public:
  void MessageBox(std::string_view, std::string_view, calvoro::MessageIcon) override {}
  calvoro::Answer Question(std::string_view, std::string_view) override {
    return calvoro::Answer::Ok;
  }
  void InputMessage(std::string_view, std::string_view, std::string_view) override {}
};

// A line of invoice-like text; every `every`-th line holds expressions.
std::string WriteSource(int every) {
  const std::string path =
      "/tmp/calvoro_robot_bench_" + std::to_string(getpid()) + "_" + std::to_string(every) + ".txt";
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < kLines; ++i) {
    if (i % every == 0) {
      out << "Item " << i << ": " << i % 97 << "*" << i % 13 + 1 << ".5+sqrt(" << i % 50
          << ") apples, tax " << i % 7 << "/3 and (2+" << i % 11 << ")^2\n";
    } else {
      out << "Plain line " << i << " of the report, nothing to calculate here at all.\n";
    }
  }
  return path;
}

void RunRobot(benchmark::State& state, int every) {
  const std::string source = WriteSource(every);
  const std::string destination = source + ".rob";
  calvoro::CSysData record;
  SilentSink sink;
  for (auto _ : state) {
    calvoro::FileRobot robot(record, sink);
    if (robot.Run(source, destination) != calvoro::RobotRun::kDone) state.SkipWithError("run");
    benchmark::DoNotOptimize(robot.entries().size());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
  std::remove(source.c_str());
  std::remove(destination.c_str());
}

void BM_RobotExpressionLines(benchmark::State& state) { RunRobot(state, 1); }
void BM_RobotOneLineInTen(benchmark::State& state) { RunRobot(state, 10); }

BENCHMARK(BM_RobotExpressionLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RobotOneLineInTen)->Unit(benchmark::kMillisecond);

}  // namespace
