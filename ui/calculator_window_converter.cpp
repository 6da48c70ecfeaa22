// The calculator window's Converter button: the quick converter on the
// window's record; its selected value goes into the input field.
#include "ui/calculator_window.h"
#include "ui/converter_dialog.h"

namespace calvoro::ui {

void CalculatorWindow::OnConverter() {
  if (Blocked()) return;
  ConverterDialog converter(
      model_.data(), [this] { model_.Save(); }, givenSink(), this);
  if (converter.exec() == QDialog::Accepted) InsertText(converter.result());
  FocusInput();
}

}  // namespace calvoro::ui
