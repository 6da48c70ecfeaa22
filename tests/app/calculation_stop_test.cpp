// Stopping a long calculation from another thread: the command ends soon
// after the flag with the stop refusal alone, and nothing is stored or saved.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "app/calculator_model.h"
#include "engine/refusal.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using Clock = std::chrono::steady_clock;

TEST(CalculationStopTest, StopsSoonAndChangesNothing) {
  // Each takes seconds at a million digits, most of it inside MPFR.
  const char* const kInputs[] = {
      "sin(1)+sin(2)",      // a calculation
      "(m)=sin(1)+sin(2)",  // an assignment
      "sin(1)x=2+sin(2)",   // an equation
  };
  for (const char* input : kInputs) {
    SCOPED_TRACE(input);
    testing::RecordingSink sink;
    CSysDataManager manager("/nonexistent/stop/SysData.dat");
    manager.data.precision = 1'000'000;
    CalculatorModel model(manager, sink);
    int saves = 0;
    model.set_save_hook([&saves](CSysDataManager&) { return ++saves, true; });
    const CSysData before = model.data();
    const MemoryTexts memories = model.memories();

    Clock::time_point flagged;
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      flagged = Clock::now();
      model.stop_flag().Request();
    });
    const CommandResult result = model.Calculate(input);
    const Clock::time_point returned = Clock::now();
    stopper.join();

    const auto late = std::chrono::duration_cast<std::chrono::milliseconds>(returned - flagged);
    std::cout << input << ": returned " << late.count() << " ms after the flag\n";
    EXPECT_LT(late.count(), 2000);  // a liveness check; the bound is 0.2 s
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, DescribeRefusal({RefusalId::kStopped, {}}).text);
    EXPECT_EQ(model.memories(), memories);
    EXPECT_TRUE(model.data() == before);
    EXPECT_EQ(saves, 0);
  }
}

}  // namespace
}  // namespace calvoro
