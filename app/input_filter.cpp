// Character filters of the input fields.
#include "app/input_filter.h"

#include <algorithm>
#include <cctype>

#include "engine/expression_text.h"
#include "engine/number_base.h"

namespace calvoro {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsHexLetter(char c) { return Lower(c) >= 'a' && Lower(c) <= 'f'; }
bool IsOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

// Names complete without a bracket: the memories and Pi.
bool IsClosedName(std::string_view name) {
  return name == "pi" ||
         std::find(kMemoryWords.begin(), kMemoryWords.end(), name) != kMemoryWords.end();
}

// Function names, which must be followed by "(".
bool IsFunctionName(std::string_view name) {
  return std::find(kFunctionNames.begin(), kFunctionNames.end(), name) != kFunctionNames.end();
}

// Characters that may replace a selection: those the buttons and keys deliver.
bool IsTypeable(char c) { return IsDecimalDigit(c) || IsLetter(c) || IsOneOf(c, "+-*/^().="); }

}  // namespace

bool IsNamePrefix(std::string_view name) {
  if (name.empty()) return false;
  const auto starts = [name](std::string_view word) { return word.starts_with(name); };
  return std::any_of(kFunctionNames.begin(), kFunctionNames.end(), starts) ||
         std::any_of(kMemoryWords.begin(), kMemoryWords.end(), starts) || starts("pi");
}

std::size_t EditField::SelectionStart() const { return std::min(caret, anchor); }
std::size_t EditField::SelectionEnd() const { return std::max(caret, anchor); }

void EditField::ClampPositions() {
  caret = std::min(caret, text.size());
  anchor = std::min(anchor, text.size());
}

void EditField::Insert(std::string_view insert) {
  ClampPositions();
  const std::size_t start = SelectionStart();
  text.replace(start, SelectionEnd() - start, insert);
  caret = anchor = start + insert.size();
}

bool EditField::DeleteBack() {
  ClampPositions();
  if (HasSelection()) {
    const std::size_t start = SelectionStart();
    text.erase(start, SelectionEnd() - start);
    caret = anchor = start;
    return true;
  }
  if (caret == 0) return false;
  text.erase(caret - 1, 1);
  anchor = --caret;
  return true;
}

void EditField::Clear() {
  text.clear();
  caret = anchor = 0;
}

void ApplyFilterAction(const FilterAction& action, EditField& field) {
  if (action.clearField) field.Clear();
  if (!action.insert.empty()) field.Insert(action.insert);
}

FilterAction ExprFilter::TypeChar(char c, const EditField& field) {
  return TypeChar(c, field.text, field.HasSelection());
}

FilterAction ExprFilter::TypeChar(char c, std::string_view text, bool has_selection) {
  FilterAction action;
  bool selection = has_selection;
  if (resultShown_) {
    // The shown result goes; the character starts a new input.
    NoteCleared();
    action.clearField = true;
    text = {};
    selection = false;
  }
  if (selection) {
    if (IsTypeable(c)) {
      ClearName();
      Accept(action, c);
    }
    return action;
  }
  Filter(c, text, action);
  return action;
}

FilterAction ExprFilter::TypeCharInto(char c, EditField& field) {
  FilterAction action = TypeChar(c, field);
  ApplyFilterAction(action, field);
  return action;
}

void ExprFilter::Filter(char c, std::string_view text, FilterAction& action) {
  if (c == '=') {
    action.runEqual = true;
    return;
  }
  if (c == ')' && (text == "(F" || text == "(f")) {
    // Closes an assignment head "(F)".
    ClearName();
    Accept(action, ')');
    return;
  }
  if (!pendingName_.empty()) {
    const std::string longer = pendingName_ + Lower(c);
    if (pendingName_ == "f" && Lower(c) != 'a') {
      // The pending "f" was the parameter F, not the start of "fac".
      ClearName();
    } else if (IsNamePrefix(longer)) {
      pendingName_ = longer;
      Accept(action, Lower(c));
      if (IsClosedName(pendingName_)) {
        ClearName();
      } else {
        expectBracket_ = IsFunctionName(pendingName_);
      }
      return;
    } else if (expectBracket_ && c == '(') {
      ClearName();
      Accept(action, '(');
      return;
    } else if (HexLetters() && std::all_of(pendingName_.begin(), pendingName_.end(), IsHexLetter)) {
      // Letters a-f that lead to no name are hexadecimal digits.
      ClearName();
    } else {
      BaseLetter(c, action);
      return;
    }
  }
  PlainChar(c, action);
}

void ExprFilter::PlainChar(char c, FilterAction& action) {
  const char lower = Lower(c);
  if (IsDecimalDigit(c) || IsOneOf(c, "()*+-/^")) {
    ClearName();
    Accept(action, c);
  } else if (c == '.') {
    if (LastIsDigit()) Accept(action, '.');
  } else if (lower == 'f') {
    // The parameter F, which may still grow into "fac".
    ClearName();
    Accept(action, 'F');
    pendingName_ = "f";
  } else if (IsOneOf(lower, "kmwy")) {
    ClearName();
    Accept(action, Upper(c));
  } else if (lower == 'x') {
    ClearName();
    Accept(action, 'X');
  } else if (IsOneOf(lower, "acdeilprst")) {
    // Names read "Sin", "Arcsin", "Ln": the first letter in upper case.
    ClearName();
    pendingName_ = std::string(1, lower);
    Accept(action, Upper(c));
  } else {
    BaseLetter(c, action);
  }
}

void ExprFilter::BaseLetter(char c, FilterAction& action) {
  if (HexLetters() && IsHexLetter(c)) {
    ClearName();
    Accept(action, c);
  } else if (base_ == NumberBase::Mix && Lower(c) == 'h') {
    ClearName();
    Accept(action, 'h');
  }
}

void ExprFilter::Accept(FilterAction& action, char c) {
  action.insert.assign(1, c);
  lastChar_ = c;
}

void ExprFilter::ClearName() {
  pendingName_.clear();
  expectBracket_ = false;
}

bool ExprFilter::HexLetters() const { return base_ == NumberBase::Hex || base_ == NumberBase::Mix; }

bool ExprFilter::LastIsDigit() const {
  return IsDecimalDigit(lastChar_) || (HexLetters() && IsHexLetter(lastChar_));
}

bool ExprFilter::Backspace(EditField& field) {
  if (resultShown_ || !field.DeleteBack()) return false;
  Resync(std::string_view(field.text).substr(0, field.caret));
  return true;
}

void ExprFilter::MarkResultShown() {
  resultShown_ = true;
  ClearName();
}

void ExprFilter::NoteInserted(std::string_view text) {
  ClearName();
  if (!text.empty()) lastChar_ = text.back();
}

void ExprFilter::NoteCleared() {
  resultShown_ = false;
  ClearName();
  lastChar_ = ' ';
}

void ExprFilter::Resync(std::string_view text_before_caret) {
  ClearName();
  lastChar_ = text_before_caret.empty() ? ' ' : text_before_caret.back();
  std::size_t start = text_before_caret.size();
  while (start > 0 && IsLetter(text_before_caret[start - 1])) --start;
  const std::string letters = ToLowerAscii(text_before_caret.substr(start));
  // The longest run of trailing letters that a name can go on from; "x" is
  // the unknown, never the start of a name.
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const std::string_view tail = std::string_view(letters).substr(i);
    if (tail.front() == 'x' || !IsNamePrefix(tail)) continue;
    if (!IsClosedName(tail)) {
      pendingName_ = tail;
      expectBracket_ = IsFunctionName(tail);
    }
    return;
  }
}

bool FloatFieldAccepts(char c, std::size_t insert_pos) {
  return IsDecimalDigit(c) || c == '.' || c == kBackspaceKey || (c == '-' && insert_pos == 0);
}

bool ConvFloatFieldAccepts(char c) { return IsDecimalDigit(c) || c == '.' || c == kBackspaceKey; }

bool ConvFloatFieldNotifies(char c) { return IsDecimalDigit(c); }

bool LetterExprFieldAccepts(char c) {
  return IsDecimalDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'e') || IsOneOf(c, ".()*+-/") ||
         c == kBackspaceKey;
}

}  // namespace calvoro
