#include "ui/float_edit.h"

#include <QKeyEvent>

#include "app/input_filter.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

FloatEdit::FloatEdit(QWidget* parent) : QLineEdit(parent) {
  setAttribute(Qt::WA_InputMethodEnabled, false);
  TakeAnyLength(this);
}

void FloatEdit::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool typed = text.size() == 1 && text[0].isPrint() &&
                     !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (typed) {
    const auto at =
        static_cast<std::size_t>(hasSelectedText() ? selectionStart() : cursorPosition());
    if (text[0].unicode() > 0x7f || !FloatFieldAccepts(static_cast<char>(text[0].unicode()), at))
      return event->accept();
  }
  QLineEdit::keyPressEvent(event);
}

// Characters only come as keys, through the filter.
void FloatEdit::inputMethodEvent(QInputMethodEvent* event) { event->ignore(); }

}  // namespace calvoro::ui
