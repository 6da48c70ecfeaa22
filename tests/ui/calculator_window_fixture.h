// A test with a calculator window on a settings file of its own, whose
// messages go to a recorder.
#pragma once

#include <memory>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/calculator_window.h"

namespace calvoro::ui {

class CalculatorWindowFixture : public ::testing::Test {
 protected:
  // The window initialised and shown; `sink` replaces the recorder.
  std::unique_ptr<CalculatorWindow> Open(bool mini = false, MessageSink* sink = nullptr) {
    auto window =
        std::make_unique<CalculatorWindow>(settings.path(), mini, sink ? sink : &recorder, nullptr);
    window->Initialise();
    window->show();
    return window;
  }

  calvoro::testing::TempSettings settings;
  calvoro::testing::RecordingSink recorder;
};

}  // namespace calvoro::ui
