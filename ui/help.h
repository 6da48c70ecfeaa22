// The Help buttons: "calvoro.chm" beside the program when it exists, else our
// own help page, beside the program in the build tree or in ../share/calvoro
// from the program's folder when installed, opened in the desktop's browser.
// A missing help file, or one the desktop cannot open, is reported.
#pragma once

#include <QString>
#include <QStringList>

#include "app/sys_data.h"
#include "engine/message_sink.h"

class QObject;

namespace calvoro::ui {

inline constexpr std::string_view kHelpPageName = "calvoro-help.html";

// The files the program in `programFolder` takes for its help, in order.
QStringList HelpCandidates(const QString& programFolder);
// The help file of the program in `programFolder`, or empty when there is none.
QString HelpFile(const QString& programFolder);
// Opens `path` in the desktop's browser. Where xdg-open is found it is run
// and its exit status read (the desktop services only report that it
// started), so the failure arrives later, reported to `sink` while `context`
// (the window that owns the sink) lives.
void OpenHelpFile(const QString& path, MessageSink& sink, QObject* context);
// Opens the help file of the running program.
void OpenHelp(MessageSink& sink, QObject* context);

}  // namespace calvoro::ui
