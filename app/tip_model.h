// Tips of the day: the 30 texts and the tip dialog's logic.
//
// The dialog is modeless. While it is open the record's `tipOpen` is 1 and
// the calculator window ignores its commands; closing it stores the
// show-at-start choice and moves `tipIndex` on, so that the next start shows
// the following tip.
#pragma once

#include <functional>
#include <string_view>

#include "app/sys_data.h"

namespace calvoro {

inline constexpr int kTipCount = 30;

// Tip number `index` (0-29); "" for other numbers.
std::string_view TipText(int index);
// The index after and before `index` in the cycle of 30.
int NextTipIndex(int index);
int PreviousTipIndex(int index);

class TipModel {
 public:
  // Opens the tip dialog on the window's record: sets `tipOpen` = 1 and shows
  // tip `tipIndex` (an index outside 0-29 read from a damaged file starts
  // the cycle again at 0). `save` writes the record to the file.
  TipModel(CSysData& record, std::function<void()> save);
  // A dialog that goes without Close still lets the window work again.
  ~TipModel();
  TipModel(const TipModel&) = delete;
  TipModel& operator=(const TipModel&) = delete;

  std::string_view text() const { return TipText(record_.tipIndex); }
  int index() const { return record_.tipIndex; }
  // The check box "&Show tips on startup".
  bool showAtStart() const { return showAtStart_; }
  void SetShowAtStart(bool show) { showAtStart_ = show; }

  // The "Next tip" and "Previous tip" buttons.
  void Next();
  void Previous();
  // Close, Enter or Escape: stores the check box into `showTips`, moves
  // `tipIndex` on by one, sets `tipOpen` = 0 and saves. Later calls do
  // nothing.
  void Close();
  bool isOpen() const { return open_; }

 private:
  CSysData& record_;
  std::function<void()> save_;
  bool showAtStart_;
  bool open_ = true;
};

}  // namespace calvoro
