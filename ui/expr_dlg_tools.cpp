// The calculator window's tool dialogs: settings, function list and log.
#include "ui/expr_dlg.h"

namespace calvoro::ui {

void CExprDlg::OnSetting() { NotAvailable("settings dialog"); }
void CExprDlg::OnFuncPara() { NotAvailable("function list"); }
void CExprDlg::OnLog() { NotAvailable("log manager"); }

}  // namespace calvoro::ui
