// calvoro-cli on 20,000 piped lines, as a script feeds it: the whole process
// (start, reading, calculating, printing, saving the settings file in
// batches) per run. Each run starts from a fresh settings file; a second
// case starts from a file whose log is already full, and a third shares the
// file with three other batches running at the same time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/sys_data.h"

extern char** environ;

namespace {

constexpr int kLines = 20000;
namespace fs = std::filesystem;

// Everyday inputs: sums, products, brackets, functions, assignments and
// the parameters and memories they set.
std::string WriteInput(const fs::path& folder) {
  const fs::path path = folder / "input.txt";
  std::ofstream out(path, std::ios::binary);
  for (int i = 0; i < kLines; ++i) {
    switch (i % 5) {
      case 0:
        out << i << "+" << i % 97 << "*3.5\n";
        break;
      case 1:
        out << "(" << i << "-17)/" << i % 13 + 1 << "\n";
        break;
      case 2:
        out << "sqrt(" << i << ")+last1\n";
        break;
      case 3:
        out << "(m)=" << i % 100 << "\n";
        break;
      default:
        out << "m*2^" << i % 20 << "+fac(" << i % 30 << ")\n";
        break;
    }
  }
  return path.string();
}

pid_t Start(const std::string& settings, const std::string& input) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = {CALVORO_CLI, "--settings", settings};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  posix_spawn(&pid, CALVORO_CLI, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

bool Ended(pid_t pid) {
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void RunBatches(benchmark::State& state, bool full_log, int processes) {
  const fs::path folder =
      fs::temp_directory_path() / ("calvoro_cli_batch_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string input = WriteInput(folder);
  const std::string settings = (folder / "SysData.dat").string();
  calvoro::CSysData seed;
  if (full_log) seed.logLines.assign(calvoro::kMaxLogLines, "2026-12-08 10:00   Dec:1+2=3");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(settings);
    if (full_log) calvoro::CSysDataManager(settings).Save(seed);
    state.ResumeTiming();
    std::vector<pid_t> running;
    for (int p = 0; p < processes; ++p) running.push_back(Start(settings, input));
    for (pid_t pid : running) {
      if (!Ended(pid)) state.SkipWithError("calvoro-cli failed");
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines * processes);
  fs::remove_all(folder);
}

void BM_CliPipedLines(benchmark::State& state) { RunBatches(state, false, 1); }
void BM_CliPipedLinesFullLog(benchmark::State& state) { RunBatches(state, true, 1); }
void BM_CliPipedLinesFourAtOnce(benchmark::State& state) { RunBatches(state, false, 4); }

BENCHMARK(BM_CliPipedLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CliPipedLinesFullLog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CliPipedLinesFourAtOnce)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
