// The Help buttons: "calvoro.chm" beside the program when it exists, else our
// own help page, beside the program in the build tree or in ../share/calvoro
// from the program's folder when installed, opened in the desktop's browser.
// A missing or unopenable help file is reported.
#pragma once

#include <QString>

#include "app/sys_data.h"
#include "engine/message_sink.h"

namespace calvoro::ui {

inline constexpr std::string_view kHelpPageName = "calvoro-help.html";

// The help file of the program in `programFolder`, or empty when there is none.
QString HelpFile(const QString& programFolder);
// Opens the help file of the running program.
void OpenHelp(MessageSink& sink);

}  // namespace calvoro::ui
