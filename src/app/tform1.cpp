// The Qt window: its controls from tform1.ui, its handlers, and what the window
// flow sets and reads of it.
#include "app/tform1.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "floor/tool_version.h"
#include "ui_tform1.h"

namespace dayledger {
namespace {

// The calendar component's values as the window was designed.
constexpr StoredSolLun kSolLun1Stored = {2009, 11, 4, 2009, 9, 18, false};

// Static labels grow to their whole text where the window's font is wider
// than the design's, keeping their place; `fixed` keeps its size.
void ShowWholeTexts(QWidget* window, QLabel* fixed) {
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label == fixed) continue;
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
  }
}

// The application's style, but for the password character.
class PasswordStarStyle : public QProxyStyle {
 public:
  explicit PasswordStarStyle(QObject* owner) : QProxyStyle(QApplication::style()->name()) {
    setParent(owner);
  }
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return '*';
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace

void InstallFontSubstitutes() {
  QFont::insertSubstitutions("돋움",
                             {"UnDotum", "Baekmuk Dotum", "NanumGothic", "Noto Sans CJK KR"});
}

TForm1::TForm1(Installation& installation, MessageBoxes& boxes, std::vector<Said> opening_notes,
               const VersionChain& chain, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      Timer1(new QTimer(this)),
      Timer2(new QTimer(this)),
      SolLun1(new TSolLun(installation.platform(), this)),
      ui_(std::make_unique<Ui::TForm1>()),
      boxes_(boxes),
      flow_(installation, *this, boxes, std::move(opening_notes), chain) {
  ui_->setupUi(this);
  setFixedSize(538, 440);
  ui_->Label15->setText(kToolCaption);
  ui_->Label15->setFixedSize(130, 13);
  ShowWholeTexts(this, ui_->Label15);
  // Rows as high as the window's 13-pixel text, so that seven names show.
  ui_->ListBox1->setStyleSheet("QListWidget::item { height: 13px; padding: 0px; margin: 0px; }");
  // The password box masks with "*", as the scheduler's own boxes do, under
  // every platform style: the style sheet's password character is not
  // honoured by every style, the style's own hint is.
  ui_->Edit1->setStyle(new PasswordStarStyle(this));
  ui_->Edit1->setStyleSheet(ui_->Edit1->styleSheet() +
                            "QLineEdit { lineedit-password-character: 42; }");
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kStageDelayMs);
  Timer2->setObjectName("Timer2");
  Timer2->setInterval(kBackupDelayMs);
  SolLun1->setObjectName("SolLun1");
  RestoreStored(*SolLun1, kSolLun1Stored);
  // A selection by mouse or keyboard is a click on the list. The current row
  // alone is no selection: a mouse press moves it before the item is
  // selected, and the focus can move it without selecting anything.
  connect(ui_->ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
  ui_->ListBox1->viewport()->installEventFilter(this);
  connect(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() { flow_.Open(); }
void TForm1::ListBox1Click() { flow_.UserClicked(); }
void TForm1::Button1Click() { flow_.StartClicked(); }
void TForm1::Button2Click() { close(); }
void TForm1::Timer1Timer() { flow_.StageTick(); }
void TForm1::Timer2Timer() { flow_.BackupTick(); }

void TForm1::showEvent(QShowEvent* event) {
  // Centred when first shown only: a window restored from the task bar
  // stays where the operator left it.
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!centred_ && screen != nullptr) {
    move(screen->availableGeometry().center() - rect().center());
    centred_ = true;
  }
  QWidget::showEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // A press below the last row selects nobody, as in a Windows list box:
  // the selection and the user's details stay.
  const QEvent::Type type = event->type();
  if (watched == ui_->ListBox1->viewport() &&
      (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
       type == QEvent::MouseButtonDblClick)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (ui_->ListBox1->itemAt(mouse->position().toPoint()) == nullptr) return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::AppendLogLine(const std::string& line) {
  ui_->Memo1->appendPlainText(QString::fromStdString(line));
  // The log follows its newest line even after the operator scrolled up.
  ui_->Memo1->verticalScrollBar()->setValue(ui_->Memo1->verticalScrollBar()->maximum());
}

void TForm1::ProcessMessages() { QCoreApplication::processEvents(); }

void TForm1::ClearUsers() {
  const QSignalBlocker quiet(ui_->ListBox1);
  ui_->ListBox1->clear();
}

void TForm1::AddUser(const std::string& name) {
  ui_->ListBox1->addItem(QString::fromStdString(name));
}

void TForm1::SelectUser(int index) {
  // Filling and selecting from code is not a click; FormCreate runs
  // ListBox1Click itself.
  const QSignalBlocker quiet(ui_->ListBox1);
  ui_->ListBox1->setCurrentRow(index);
}

int TForm1::SelectedUser() {
  const QListWidgetItem* item = ui_->ListBox1->currentItem();
  return item != nullptr && item->isSelected() ? ui_->ListBox1->currentRow() : -1;
}

namespace {

// Value labels grow with their text, as auto-sized labels do, so a long
// name or "사용안함" is never cut off.
void ShowInLabel(QLabel* label, const std::string& text) {
  label->setText(QString::fromStdString(text));
  label->resize(label->sizeHint().width(), label->height());
}

}  // namespace

void TForm1::SetUserLabel(const std::string& text) { ShowInLabel(ui_->Label9, text); }
void TForm1::SetEncryptionLabel(const std::string& text) { ShowInLabel(ui_->Label10, text); }
void TForm1::SetVersionLabel(const std::string& text) { ShowInLabel(ui_->Label11, text); }
void TForm1::SetTargetVersionLabel(const std::string& text) { ShowInLabel(ui_->Label13, text); }

void TForm1::SetPasswordEnabled(bool enabled) { ui_->Edit1->setEnabled(enabled); }

std::string TForm1::Password() { return ui_->Edit1->text().toStdString(); }

void TForm1::SelectPasswordAndFocus() {
  ui_->Edit1->selectAll();
  ui_->Edit1->setFocus();
}

void TForm1::SetInputEnabled(bool enabled) {
  ui_->Panel1->setEnabled(enabled);
  ui_->Button1->setEnabled(enabled);
  ui_->Button2->setEnabled(enabled);
}

bool TForm1::SkipBackupChecked() { return ui_->CheckBox1->isChecked(); }

namespace {

void SetTimerEnabled(QTimer* timer, bool enabled) {
  if (enabled) {
    timer->start();
  } else {
    timer->stop();
  }
}

}  // namespace

void TForm1::SetBackupTimer(bool enabled) { SetTimerEnabled(Timer2, enabled); }
void TForm1::SetDriverTimer(bool enabled) { SetTimerEnabled(Timer1, enabled); }

}  // namespace dayledger
