// The flag of this thread's calculation.
#include "numeric/stop.h"

namespace calvoro {
namespace {

thread_local const StopFlag* current_flag = nullptr;

}  // namespace

const StopFlag* CurrentStopFlag() { return current_flag; }

StopScope::StopScope(const StopFlag* flag) : previous_(current_flag) { current_flag = flag; }

StopScope::~StopScope() { current_flag = previous_; }

}  // namespace calvoro
