// Character filters of the input fields, without widgets. A line edit keeps
// an EditField in step with its own text, caret and selection, asks the
// filter what a typed character does, and shows the outcome.
//
// ExprFilter is the main windows' expression field: it is read-only to the
// keyboard, every character arrives as a request to type one character (from
// a button or a key), and function names can be typed only letter by letter
// along known names. The other fields are plain per-character filters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/number_base.h"

namespace calvoro {

// The text of a single-line field with its caret and selection. The selection
// runs between `anchor` and `caret`; there is none when they are equal.
struct EditField {
  std::string text;
  std::size_t caret = 0;
  std::size_t anchor = 0;

  bool HasSelection() const { return caret != anchor; }
  std::size_t SelectionStart() const;
  std::size_t SelectionEnd() const;
  // Puts `insert` in place of the selection, or at the caret, and leaves the
  // caret right after it with no selection.
  void Insert(std::string_view insert);
  // Removes the selection, or the character before the caret. False when
  // there was nothing to remove.
  bool DeleteBack();
  void Clear();
  // Caret and anchor moved into the text (a mirror may hand in stale ones).
  void ClampPositions();
};

// What one typed character asks of the field's owner, in this order: empty
// the field, run the Equal command, insert text at the caret (in place of a
// selection). At most one of `runEqual` and a non-empty `insert` is set.
struct FilterAction {
  bool clearField = false;
  bool runEqual = false;
  std::string insert;

  bool operator==(const FilterAction&) const = default;
};

// Empties the field when asked and inserts the text; the Equal command is
// left to the caller.
void ApplyFilterAction(const FilterAction& action, EditField& field);

class ExprFilter {
 public:
  // Decides what `c` does to a field that holds `field` and updates the
  // filter's state as if the owner carries the action out. While a result is
  // shown the field is emptied first. A selection is replaced by `c` as it
  // is (any digit, letter or one of "+-*/^().="); otherwise `c` goes through
  // the name-by-name filter.
  FilterAction TypeChar(char c, const EditField& field);
  // The same on a field that holds `text`, with or without a selection.
  FilterAction TypeChar(char c, std::string_view text, bool has_selection);
  // TypeChar, then the field's part of the action carried out on `field`.
  FilterAction TypeCharInto(char c, EditField& field);

  // The Backspace command: removes the selection or the character before the
  // caret and reads the name state again from the letters before the caret
  // (so a pending name is shortened with its letters). Ignored while a result
  // is shown. True when something was removed.
  bool Backspace(EditField& field);

  // What the owner did to the field on its own:
  // a result was put in (the next typed character starts a new input);
  void MarkResultShown();
  // the result mark was dropped ("(F)" followed by "=");
  void ClearResultShown() { resultShown_ = false; }
  // text was inserted without the filter (paste, memories, dialogs);
  void NoteInserted(std::string_view text);
  // the field was emptied;
  void NoteCleared();
  // the field was rewritten (a base switch): name state and last character
  // read again from the text before the caret.
  void Resync(std::string_view text_before_caret);

  // The base decides which letters are digits.
  void SetBase(NumberBase base) { base_ = base; }
  NumberBase base() const { return base_; }

  bool resultShown() const { return resultShown_; }
  const std::string& pendingName() const { return pendingName_; }
  bool expectBracket() const { return expectBracket_; }
  char lastChar() const { return lastChar_; }

 private:
  void Filter(char c, std::string_view text, FilterAction& action);
  void PlainChar(char c, FilterAction& action);
  void BaseLetter(char c, FilterAction& action);
  void Accept(FilterAction& action, char c);
  void ClearName();
  bool HexLetters() const;
  bool LastIsDigit() const;

  bool resultShown_ = false;
  std::string pendingName_;  // lower case
  bool expectBracket_ = false;
  char lastChar_ = ' ';
  NumberBase base_ = NumberBase::Decimal;
};

// Whether `name` (lower case) can be typed on from: a non-empty beginning of
// a function name, of "last1".."last5" or of "pi".
bool IsNamePrefix(std::string_view name);

// The Backspace key as the simple filters see it.
inline constexpr char kBackspaceKey = '\b';

// Parameter fields F, K, M, W: digits, ".", Backspace, and "-" only when it
// would go to the very start (`insert_pos`: the caret, or the selection's
// start).
bool FloatFieldAccepts(char c, std::size_t insert_pos);
// Converter number fields: digits, ".", Backspace.
bool ConvFloatFieldAccepts(char c);
// After an accepted digit the converter field tells its owner.
bool ConvFloatFieldNotifies(char c);
// Expression fields of the conversion window: digits, ".", "A"-"E" in either
// case, "(", ")", "*", "+", "-", "/", Backspace.
bool LetterExprFieldAccepts(char c);

}  // namespace calvoro
