// What every calculator window does with its settings record when it is
// initialised: the tip of the day is no longer open, and a fresh start opens
// it when the user wants tips.
#pragma once

#include "app/sys_data.h"

namespace calvoro {

// Resets `tipOpen` and the fresh-start marker; true when the tip of the day
// should open (a fresh start with `showTips` on).
bool InitialiseShellRecord(CSysData& record);

}  // namespace calvoro
