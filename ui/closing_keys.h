// Keys meant for a dialog that has closed since go nowhere. A key pressed
// while a dialog was still closing reaches the program only afterwards, and
// the X connection hands it to the window that has the focus by then (the
// calculator, where a second Escape asked to exit). The X server stamps each
// key with its time: a key stamped before the dialog had closed is dropped.
#pragma once

namespace calvoro::ui {

// Starts watching the program's input (every dialog calls it).
void WatchClosingKeys();
// Called when a dialog has closed.
void NoteDialogClosed();

}  // namespace calvoro::ui
