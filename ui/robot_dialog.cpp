#include "ui/robot_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <atomic>

#include "ui/help.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

// Dialog units: about 1.5 pixels across and 1.625 down.
constexpr QSize kSize(robot_text::kDialogWidth * 3 / 2, robot_text::kDialogHeight * 13 / 8);

// command() finds a button by its command's place in kButtons.
constexpr bool CommandsInOrder() {
  for (std::size_t i = 0; i < robot_text::kButtons.size(); ++i)
    if (robot_text::kButtons[i].command != static_cast<RobotCommand>(i)) return false;
  return true;
}
static_assert(CommandsInOrder());

}  // namespace

RobotDialog::RobotDialog(CSysData& record, MessageSink& sink, std::function<void()> save,
                         QWidget* parent)
    : SkinnedDialog(kSize, QStringLiteral("File Calculation Robot"), parent),
      runSink_(sink),
      model_(record, runSink_),
      sink_(sink),
      work_(new WindowWork(this, true)),
      save_(std::move(save)) {
  using namespace robot_text;
  const int right = kSize.width() - 16;
  AddStatic(QStringLiteral("Source Path:"), QRect(16, 42, 110, 22));
  source_ = new QLineEdit(this);
  source_->setGeometry(128, 40, right - 128 - 96, 24);
  AddStatic(QStringLiteral("Destination Path:"), QRect(16, 74, 110, 22));
  destination_ = new QLineEdit(this);
  destination_->setGeometry(128, 72, right - 128 - 96, 24);
  SkinnedButton* browse = AddButton(ToQt(kBrowse), QRect(right - 88, 40, 88, 24));
  SkinnedButton* selectDir = AddButton(ToQt(kSelectDir), QRect(right - 88, 72, 88, 24));

  log_ = new QPlainTextEdit(this);
  log_->setReadOnly(true);
  log_->setGeometry(16, 108, 470, 210);
  log_->setLineWrapMode(QPlainTextEdit::NoWrap);

  const int column = 500;
  const int columnWidth = right - column;
  useExponent_ = new QCheckBox(this);
  useExponent_->setGeometry(column, 106, 20, 20);
  QLabel* exponentLabel =
      AddStatic(ToQt(kExponentCheck), QRect(column + 22, 104, columnWidth - 22, 48));
  exponentLabel->setBuddy(useExponent_);
  threshold_ = new QLineEdit(this);
  threshold_->setGeometry(column + 22, 154, 120, 24);
  AddStatic(ToQt(kPrecisionLabel), QRect(column, 184, columnWidth, 34));
  precision_ = new QLineEdit(this);
  precision_->setGeometry(column + 22, 218, 120, 24);

  auto* group = new QGroupBox(ToQt(kActionGroup), this);
  group->setGeometry(column, 248, columnWidth, 72);
  auto* buttons = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    actions_[i] = new QRadioButton(ToQt(kActionButtons[i].label), group);
    actions_[i]->setGeometry(10 + (i / 3) * 150, 16 + (i % 3) * 18, 148, 18);
    buttons->addButton(actions_[i], i);
  }
  connect(buttons, &QButtonGroup::idClicked, this,
          [this](int id) { model_.SelectAction(kActionButtons[id].action); });

  int x = 16;
  for (const Button& b : kButtons) {
    SkinnedButton* button =
        AddButton(ToQt(b.label), QRect(x, kSize.height() - 44, 82, 26),
                  b.command == RobotCommand::kCalculate ? ButtonTone::Accent : ButtonTone::Tool);
    button->setToolTip(ToQt(b.tooltip));
    commands_ << button;
    x += 90;
  }
  commands_ << browse << selectDir;
  progress_ = AddStatic({}, QRect(column, kSize.height() - 44, columnWidth - 90, 26));

  connect(browse, &QAbstractButton::clicked, this, &RobotDialog::OnBrowse);
  connect(selectDir, &QAbstractButton::clicked, this, &RobotDialog::OnSelectDir);
  connect(command(RobotCommand::kCalculate), &QAbstractButton::clicked, this,
          &RobotDialog::OnCalculate);
  connect(command(RobotCommand::kCopy), &QAbstractButton::clicked, this, &RobotDialog::OnCopy);
  connect(command(RobotCommand::kClear), &QAbstractButton::clicked, this, [this] {
    model_.Clear();
    ShowLog();
  });
  connect(command(RobotCommand::kClose), &QAbstractButton::clicked, this, &QDialog::accept);
  connect(command(RobotCommand::kHelp), &QAbstractButton::clicked, this,
          [this] { OpenHelp(sink_, this); });
  SetHelpButton(command(RobotCommand::kHelp));
  // Calculate is the default button (off while a run goes on).
  SetDefaultButton(command(RobotCommand::kCalculate));

  connect(source_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetSourcePath(FromQt(text)); });
  connect(destination_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetDestinationPath(FromQt(text)); });
  connect(threshold_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetThresholdText(FromQt(text)); });
  connect(precision_, &QLineEdit::textEdited, this,
          [this](const QString& text) { model_.SetPrecisionText(FromQt(text)); });
  connect(useExponent_, &QCheckBox::toggled, this, [this](bool on) { model_.SetUseExponent(on); });

  chooseSource = [this] {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), {},
                                        ToQt(QtFileFilter(kBrowseFilter)));
  };
  chooseFolder = [this] {
    return QFileDialog::getExistingDirectory(this, ToQt(kSelectDirTitle), {},
                                             QFileDialog::ShowDirsOnly);
  };

  useExponent_->setChecked(model_.useExponent());
  threshold_->setText(ToQt(model_.thresholdText()));
  precision_->setText(ToQt(model_.precisionText()));
  actions_[0]->setChecked(true);
  ShowLog();
  source_->setFocus();
}

void RobotDialog::OnBrowse() {
  const QString chosen = chooseSource();
  if (chosen.isEmpty()) return;
  model_.Browse(FromQt(chosen));
  source_->setText(ToQt(model_.sourcePath()));
  destination_->setText(ToQt(model_.destinationPath()));
}

void RobotDialog::OnSelectDir() {
  if (!model_.SelectDirAllowed()) return;
  const QString folder = chooseFolder();
  if (folder.isEmpty()) return;
  model_.SelectDirectory(FromQt(folder));
  destination_->setText(ToQt(model_.destinationPath()));
}

// The run goes on a thread of its own; the progress line follows it every
// tenth of a second, and Stop (where Calculate was) or Escape ends it (the
// calculation of the current line too); the run is waited for.
void RobotDialog::OnCalculate() {
  struct RunProgress : RobotProgress {
    std::atomic<std::uint64_t> done{0}, total{0};
    const CalculationRunner::StopToken* stop = nullptr;
    bool Progress(std::uint64_t lines_done, std::uint64_t lines_total) override {
      done = lines_done;
      total = lines_total;
      return !stop->requested();
    }
  } progress;
  const auto showProgress = [&] {
    if (progress.total > 0) progress_->setText(ToQt(ProgressText(progress.done, progress.total)));
  };
  progress_->clear();
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, this, showProgress);
  ticker.start(100);
  std::optional<RobotRun> run;
  runSink_.Hold();
  // The run writes into this dialog's model: a stop is waited for.
  work_->Run(
      [&](const CalculationRunner::StopToken& stop) {
        // A stop ends the line's calculation too.
        const StopScope scope(&stop);
        progress.stop = &stop;
        run = model_.Calculate(&progress);
      },
      command(RobotCommand::kCalculate));
  ticker.stop();
  runSink_.Release();
  showProgress();
  destination_->setText(ToQt(model_.destinationPath()));
  if (!run) {
    QLineEdit* bad = model_.focus() == RobotModel::Field::kPrecision ? precision_ : threshold_;
    bad->setFocus();
    bad->selectAll();
    return;
  }
  if (run == RobotRun::kCancelled)
    progress_->setText(QStringLiteral("Cancelled: no result file was written."));
  if (run == RobotRun::kStopped)
    progress_->setText(QStringLiteral("Stopped: no result file was written."));
  // A run that opened its files wrote its precision and threshold into the record.
  if (save_ && (run == RobotRun::kDone || run == RobotRun::kCancelled)) save_();
  ShowLog();
}

void RobotDialog::OnCopy() {
  if (const std::optional<std::string> text = model_.Copy())
    QGuiApplication::clipboard()->setText(ToQt(*text));
}

void RobotDialog::ShowLog() {
  log_->setPlainText(ToQt(model_.logText()));
  log_->verticalScrollBar()->setValue(log_->verticalScrollBar()->maximum());
}

}  // namespace calvoro::ui
