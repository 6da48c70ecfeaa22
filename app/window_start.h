// What every calculator window does with its settings record when it is
// initialised: the tip of the day is no longer open, and a fresh start opens
// it when the user wants tips.
#pragma once

#include <optional>
#include <string>

#include "app/sys_data.h"
#include "engine/message_sink.h"
#include "engine/refusal.h"

namespace calvoro {

// Resets `tipOpen` and the fresh-start marker; true when the tip of the day
// should open (a fresh start with `showTips` on).
bool InitialiseShellRecord(CSysData& record);

// The same on a window's settings file: a `tipOpen` left in the file by a
// window that ended while its tip was open is cleared there too, and a file
// the window may not write (not a settings record, not a regular file) is
// reported through `sink`: the window then works on its record in memory.
bool InitialiseShellRecord(CSysDataManager& settings, MessageSink& sink);

// The refusal of a settings file that is never written (foreign, damaged,
// unsafe, ...), nothing for a usable one; and its text, "" for a usable one.
std::optional<Refusal> SettingsFileRefusal(const CSysDataManager& settings);
std::string UnwritableSettingsText(const CSysDataManager& settings);

}  // namespace calvoro
