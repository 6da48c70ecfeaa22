#include "ui/log_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableWidget>

#include "ui/help.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

LogDialog::LogDialog(CSysData& record, MessageSink& sink, std::function<void()> save,
                     QWidget* parent)
    : SkinnedDialog(QSize(620, 370), QStringLiteral("Log"), parent),
      model_(record, sink, std::move(save)) {
  table_ = new QTableWidget(0, 2, this);
  table_->setGeometry(8, 36, 604, 290);
  // A small font, so that the time fits its 100 pixels.
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  table_->setFont(font);
  table_->setStyleSheet(QStringLiteral("QTableWidget::item { padding: 0px 2px; }"));
  table_->verticalHeader()->setDefaultSectionSize(20);
  table_->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Expression")});
  table_->setColumnWidth(0, 100);
  table_->setColumnWidth(1, 500);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->verticalHeader()->hide();
  table_->setShowGrid(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  Fill();

  struct Command {
    const char* caption;
    const char* tip;
    void (LogDialog::*run)();
  };
  const Command commands[] = {
      {"Copy Sel", "Copy the selected lines into the clip board.", &LogDialog::OnCopySel},
      {"Copy All", "Copy all these log data into the clipboard", &LogDialog::OnCopyAll},
      {"Remove Sel", "Remove the selected lines.", &LogDialog::OnRemoveSel},
      {"Clear", "Clear the log information", &LogDialog::OnClear},
  };
  int x = 8;
  for (const Command& command : commands) {
    SkinnedButton* button = AddButton(QString::fromLatin1(command.caption), QRect(x, 334, 84, 26));
    button->setToolTip(QString::fromLatin1(command.tip));
    connect(button, &QAbstractButton::clicked, this, command.run);
    x += 92;
  }
  SkinnedButton* help = AddButton(QStringLiteral("Help"), QRect(436, 334, 84, 26));
  connect(help, &QAbstractButton::clicked, this, [this, &sink] { OpenHelp(sink, this); });
  SetHelpButton(help);
  SkinnedButton* close =
      AddButton(QStringLiteral("Close"), QRect(528, 334, 84, 26), ButtonTone::Accent);
  close->setToolTip(QStringLiteral("Close the log manager"));
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(close);
}

void LogDialog::Fill() {
  const std::vector<LogRow>& rows = model_.rows();
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    table_->setItem(row, 0, new QTableWidgetItem(ToQt(rows[row].time)));
    table_->setItem(row, 1, new QTableWidgetItem(ToQt(ShownInRow(rows[row].expression))));
  }
}

namespace {

std::vector<int> SelectedRows(const QTableWidget& table) {
  std::vector<int> rows;
  for (const QModelIndex& index : table.selectionModel()->selectedRows())
    rows.push_back(index.row());
  return rows;
}

void PutOnClipboard(const std::string& text) { QGuiApplication::clipboard()->setText(ToQt(text)); }

}  // namespace

// The message that the text was copied comes once the clipboard holds it.
void LogDialog::OnCopySel() { model_.CopySelected(SelectedRows(*table_), PutOnClipboard); }

void LogDialog::OnCopyAll() { model_.CopyAll(PutOnClipboard); }

void LogDialog::OnRemoveSel() {
  model_.RemoveSelected(SelectedRows(*table_));
  Fill();
}

void LogDialog::OnClear() {
  model_.Clear();
  Fill();
}

}  // namespace calvoro::ui
