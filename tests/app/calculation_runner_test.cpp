// Long work off the window's thread: the runner's states, and the
// calculator's commands when a calculation ends or is stopped.
#include "app/calculation_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "app/calculator_model.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

using State = CalculationRunner::State;
using namespace std::chrono_literals;
constexpr auto kLong = 10s;  // only a hung work waits this long

// Work that runs until released or stopped.
struct HeldWork {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  CalculationRunner::Work work() {
    return [released = released](const CalculationRunner::StopToken& stop) {
      while (!stop.requested() && released.wait_for(1ms) != std::future_status::ready) {
      }
    };
  }
};

TEST(CalculationRunnerTest, StatesOfOneWork) {
  const auto t0 = CalculationRunner::Clock::time_point();
  struct Case {
    const char* name;
    int stop;  // 1: the user stops it while busy; 2: the work is asked to stop; 0: it ends
    State last;
    bool taken;
  };
  for (const Case c :
       {Case{"ends", 0, State::kFinished, true}, Case{"stopped", 1, State::kStopped, false},
        Case{"asked to stop", 2, State::kFinished, true}}) {
    CalculationRunner runner;
    HeldWork held;
    ASSERT_TRUE(runner.Start(held.work(), t0)) << c.name;
    EXPECT_FALSE(runner.Start(held.work(), t0)) << c.name << ": one at a time";
    EXPECT_EQ(runner.Poll(t0 + 299ms), State::kRunning) << c.name;
    EXPECT_EQ(runner.Poll(t0 + 300ms), State::kBusy) << c.name;
    if (c.stop == 1) {
      runner.Stop();  // at once, without waiting for the work
    } else {
      if (c.stop == 2) {
        runner.RequestStop();
        EXPECT_EQ(runner.Poll(t0 + 350ms), State::kBusy) << c.name << ": until the work ends";
      } else {
        held.release.set_value();
      }
      ASSERT_TRUE(runner.WaitFor(kLong)) << c.name;
    }
    EXPECT_EQ(runner.Poll(t0 + 400ms), c.last) << c.name;
    EXPECT_EQ(runner.Take(), c.taken) << c.name;
    EXPECT_EQ(runner.state(), State::kIdle) << c.name;
    EXPECT_TRUE(runner.WaitFor(kLong)) << c.name << ": the stop reaches the work";
  }
}

TEST(CalculationRunnerTest, QuickOrFailingWorkFinishesWithoutBusyState) {
  const auto t0 = CalculationRunner::Clock::time_point();
  for (const bool throws : {false, true}) {
    CalculationRunner runner;
    std::promise<void> ended;
    ASSERT_TRUE(runner.Start(
        [throws](const CalculationRunner::StopToken&) {
          if (throws) throw std::runtime_error("fails");
        },
        t0, [&] { ended.set_value(); }));
    ASSERT_TRUE(runner.WaitFor(kLong));
    EXPECT_EQ(ended.get_future().wait_for(kLong), std::future_status::ready);
    EXPECT_EQ(runner.Poll(t0 + 5s), State::kFinished) << throws;
    EXPECT_TRUE(runner.Take());
  }
}

TEST(CalculationRunnerTest, DeferredMessagesReplayInOrder) {
  DeferredSink deferred;
  deferred.InputMessage("5+*3", "Syntax error", "hint");
  deferred.MessageBox("text", "caption", MessageIcon::Warning);
  EXPECT_EQ(deferred.Question("q", "c"), Answer::Cancel);
  testing::RecordingSink shown;
  deferred.Replay(shown);
  ASSERT_EQ(shown.messages.size(), 2U);
  EXPECT_EQ(shown.messages[0].text, "Syntax error");
  EXPECT_EQ(shown.messages[0].hint, "hint");
  EXPECT_EQ(shown.messages[1].text, "text");
}

// The calculator with its work on a thread of its own: a finished work acts
// as in place, its messages shown; a stopped one changes nothing and saves
// nothing.
TEST(CalculationRunnerTest, CalculatorCommandsEndedOrStopped) {
  struct Case {
    const char* input;
    NumberBase switchTo;  // Decimal: Calc; otherwise a base switch
    bool stop;
    const char* field;  // afterwards
    int logLines;       // added
    int messages;
  };
  const Case cases[] = {
      {"1+2", NumberBase::Decimal, false, "1+2=3", 1, 0},
      {"2x+1=5", NumberBase::Decimal, false, "2*x+1-(5)=0 => X=2", 1, 0},
      {"5+*3", NumberBase::Decimal, false, "5+*3", 0, 1},
      {"1+2", NumberBase::Decimal, true, "1+2", 0, 0},
      {"2x+1=5", NumberBase::Decimal, true, "2x+1=5", 0, 0},
      {"10+5=15", NumberBase::Hex, false, "A+5=F", 1, 0},
      {"10+5=15", NumberBase::Hex, true, "10+5=15", 0, 0},
  };
  for (const Case& c : cases) {
    const testing::TestFolder folder{"runner"};
    const std::string path = folder.Path("SysData.dat");
    testing::RecordingSink sink;
    CalculatorModel model(path, sink);
    model.Save();
    CalculationRunner runner;
    model.set_offload([&](CalculationRunner::Work work) {
      runner.Start(std::move(work), {});
      if (c.stop) {
        runner.Stop();
      } else {
        EXPECT_TRUE(runner.WaitFor(kLong));
        runner.Poll({});
      }
      return runner.Take();
    });
    model.field().text = c.input;
    const auto memories = model.memories();
    if (c.switchTo == NumberBase::Decimal) {
      model.CalcCommand();
    } else {
      model.BaseCommand(c.switchTo);
    }
    EXPECT_EQ(model.field().text, c.field) << c.input << " stop " << c.stop;
    EXPECT_EQ(model.data().logLines.size(), static_cast<std::size_t>(c.logLines)) << c.input;
    EXPECT_EQ(sink.messages.size(), static_cast<std::size_t>(c.messages)) << c.input;
    CSysDataManager file(path);
    file.Load();
    EXPECT_EQ(file.data.logLines.size(), static_cast<std::size_t>(c.logLines)) << c.input;
    if (c.stop) {
      EXPECT_EQ(model.memories(), memories) << c.input;
      EXPECT_EQ(file.data.numberBase, NumberBase::Decimal) << c.input;
    }
    EXPECT_TRUE(runner.WaitFor(kLong));
  }
}

}  // namespace
}  // namespace calvoro
