// The calculator window's Converter button: the quick converter on the
// window's record; its selected value goes into the input field.
#include "ui/converter_dialog.h"
#include "ui/calculator_window.h"

namespace calvoro::ui {

void CalculatorWindow::OnConverter() {
  if (Blocked()) return;
  ConverterDialog converter(model_.data(), [this] { model_.Save(); }, givenSink(), this);
  if (converter.exec() == QDialog::Accepted) InsertText(converter.result());
  FocusInput();
}

}  // namespace calvoro::ui
