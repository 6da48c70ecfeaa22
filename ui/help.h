// The Help buttons: "calvoro.chm" beside the program when it exists, else our
// own help page installed beside the program, opened in the desktop's
// browser. A missing or unopenable help file is reported.
#pragma once

#include <QString>

#include "app/sys_data.h"
#include "engine/message_sink.h"

namespace calvoro::ui {

inline constexpr std::string_view kHelpPageName = "calvoro-help.html";

// The help file to open from `folder`, or empty when there is none.
QString HelpFile(const QString& folder);
// Opens the help file beside the program.
void OpenHelp(MessageSink& sink);

}  // namespace calvoro::ui
