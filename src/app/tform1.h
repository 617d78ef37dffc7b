// The main window in Qt. Its handlers are each a line into the window flow;
// the window only provides the controls, timers and message boxes.
#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/solnlun.h"
#include "floor/notice.h"
#include "platform/platform.h"
#include "presenter/window_flow.h"

namespace Ui {
class TForm1;
}

namespace dayledger {

class TForm1 : public QWidget, public WindowView {
  Q_OBJECT

 public:
  // `opening_notes`: what opening the installation finished or undid.
  TForm1(Installation& installation, MessageBoxes& boxes, std::vector<Said> opening_notes = {},
         const VersionChain& chain = VersionChain::Standard(), QWidget* parent = nullptr);
  ~TForm1() override;

  // Handlers, as the controls and timers call them.
  void FormCreate();
  void ListBox1Click();
  void Button1Click();
  void Button2Click();
  void Timer1Timer();
  void Timer2Timer();

  QTimer* Timer1;
  QTimer* Timer2;
  TSolLun* SolLun1;

  // WindowView
  void AppendLogLine(const std::string& line) override;
  void ProcessMessages() override;
  void ClearUsers() override;
  void AddUser(const std::string& name) override;
  void SelectUser(int index) override;
  int SelectedUser() override;
  void SetUserLabel(const std::string& text) override;
  void SetEncryptionLabel(const std::string& text) override;
  void SetVersionLabel(const std::string& text) override;
  void SetTargetVersionLabel(const std::string& text) override;
  void SetPasswordEnabled(bool enabled) override;
  std::string Password() override;
  void SelectPasswordAndFocus() override;
  void SetInputEnabled(bool enabled) override;
  bool SkipBackupChecked() override;
  void SetBackupTimer(bool enabled) override;
  void SetDriverTimer(bool enabled) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::unique_ptr<Ui::TForm1> ui_;
  MessageBoxes& boxes_;
  WindowFlow flow_;
  bool centred_ = false;
};

// "돋움" is drawn with the closest Korean font the machine has.
void InstallFontSubstitutes();

}  // namespace dayledger
