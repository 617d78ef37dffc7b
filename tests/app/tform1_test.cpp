#include "app/tform1.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>

#include "platform/line_file.h"
#include "support/expected_log.h"
#include "support/upgrade_fixture.h"
#include "upgrade/texts.h"

namespace dayledger {
namespace {

using demo::UserSpec;
using Lines = std::vector<std::string>;

std::string Text(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title().toStdString();
  return "";
}

class TForm1Test : public testing::UpgradeFixture {
 protected:
  TForm1& form() {
    if (!form_) {
      platform.executable_path = builder.AppDir() + "dayledger-upgrade-gui";
      form_ = std::make_unique<TForm1>(platform);
      form_->show();
    }
    return *form_;
  }
  template <typename T = QWidget>
  T* Control(const char* name) {
    // findChild looks at the window's children, widgets and components alike.
    T* widget = form().findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // Lets the event loop run (timers included) until `done` holds.
  bool WaitUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(30000);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }
  bool Idle() { return !form().Timer1->isActive() && !form().Timer2->isActive(); }
  Lines MemoLines() {
    const QStringList lines = Control<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    Lines texts;
    for (const QString& line : lines) texts.push_back(line.toStdString());
    return texts;
  }
  void SelectRow(int row) {
    Control<QListWidget>("ListBox1")->setCurrentRow(row);
    form().ListBox1Click();
  }

 private:
  std::unique_ptr<TForm1> form_;
};

TEST_F(TForm1Test, LayoutMatchesTheDesign) {
  const struct {
    const char* name;
    const char* parent;
    QRect geometry;
    const char* text;
  } controls[] = {
      {"Label1", "TForm1", {8, 8, 366, 16}, "Korvane Dayledger - 사용자 정보 업그레이드"},
      {"Button2", "TForm1", {456, 4, 75, 25}, "종료"},
      {"Panel1", "TForm1", {16, 32, 505, 169}, ""},
      {"Label2", "Panel1", {8, 8, 108, 13}, "사용자 정보 입력"},
      {"GroupBox1", "Panel1", {16, 32, 185, 129}, "대상 사용자 선택"},
      {"ListBox1", "GroupBox1", {8, 24, 169, 97}, ""},
      {"GroupBox2", "Panel1", {208, 32, 281, 129}, "사용자 상세정보"},
      {"Label3", "GroupBox2", {8, 24, 56, 13}, "사용자명"},
      {"Label4", "GroupBox2", {8, 48, 42, 13}, "암호화"},
      {"Label5", "GroupBox2", {16, 72, 107, 13}, "→ 비밀번호 입력"},
      {"Label6", "GroupBox2", {8, 96, 75, 13}, "데이터 버전"},
      {"Label9", "GroupBox2", {72, 24, 62, 13}, "(사용자명)"},
      {"Label10", "GroupBox2", {56, 48, 49, 13}, "(암호화)"},
      {"Label11", "GroupBox2", {88, 96, 79, 13}, "(데이터 버전)"},
      {"Edit1", "GroupBox2", {130, 69, 139, 21}, ""},
      {"FileListBox1", "Panel1", {328, 8, 153, 25}, ""},
      {"Panel2", "TForm1", {16, 208, 505, 201}, ""},
      {"Label8", "Panel2", {8, 8, 150, 13}, "사용자 정보 업그레이드"},
      {"CheckBox1", "Panel2", {216, 8, 273, 17}, "데이터 백업 건너뛰기(오류 발생시만 사용)"},
      {"Label12", "Panel2", {18, 32, 150, 13}, "업그레이드 데이터 버전"},
      {"Label13", "Panel2", {176, 32, 48, 13}, "v 1.03.00"},
      {"Button1", "Panel2", {368, 32, 121, 25}, "업그레이드 시작"},
      {"Label14", "Panel2", {18, 56, 56, 13}, "진행상황"},
      {"Memo1", "Panel2", {24, 72, 457, 121}, ""},
      {"Label7", "TForm1", {16, 416, 234, 13}, "Made by Korvane - http://www.example.com/"},
      {"Label15", "TForm1", {391, 416, 130, 13}, "Data Upgrade v 1.03"},
  };
  for (const auto& c : controls) {
    QWidget* widget = Control(c.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), c.parent) << c.name;
    EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
    EXPECT_EQ(Text(widget), c.text) << c.name;
  }
  EXPECT_EQ(form().windowTitle().toStdString(), "Korvane Dayledger - 사용자 정보 업그레이드");
  EXPECT_EQ(form().size(), QSize(538, 440));
  EXPECT_EQ(form().minimumSize(), form().maximumSize()) << "fixed size";
  EXPECT_TRUE(form().windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(form().windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(MemoLines(), Lines{"### Korvane Dayledger - 사용자 정보 업그레이드 ###"});
  EXPECT_TRUE(Control<QPlainTextEdit>("Memo1")->isReadOnly());
  EXPECT_EQ(Control<QLineEdit>("Edit1")->echoMode(), QLineEdit::Password);
  EXPECT_FALSE(Control("FileListBox1")->isVisible());
  EXPECT_FALSE(Control<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_TRUE(Control<QLabel>("Label15")->alignment() & Qt::AlignRight);
  EXPECT_EQ(form().Timer1->interval(), 100);
  EXPECT_EQ(form().Timer2->interval(), 1000);
  EXPECT_FALSE(form().Timer1->isActive());

  const struct {
    const char* name;
    int pixels;
    bool bold;
  } fonts[] = {{"Label1", 16, true}, {"Label3", 13, true}, {"Label9", 13, false},
               {"Label2", 13, true}, {"Memo1", 11, false}, {"Button1", 13, false}};
  for (const auto& f : fonts) {
    QWidget* widget = Control(f.name);
    widget->ensurePolished();
    EXPECT_EQ(widget->font().pixelSize(), f.pixels) << f.name;
    EXPECT_EQ(widget->font().bold(), f.bold) << f.name;
    EXPECT_EQ(widget->font().family().toStdString(), "돋움") << f.name;
  }
  QLabel* blue = Control<QLabel>("Label8");
  blue->ensurePolished();
  EXPECT_EQ(blue->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

TEST_F(TForm1Test, MissingUserListIsReportedAndTheDesignTextsStay) {
  form();
  EXPECT_EQ(Messages(), Lines{"64:사용자 정보를 찾을 수 없습니다."});
  EXPECT_EQ(platform.messages[0].caption, texts::kApplicationTitle);
  EXPECT_EQ(Text(Control("Label9")), "(사용자명)");
  EXPECT_EQ(Control<QListWidget>("ListBox1")->count(), 0);
  EXPECT_TRUE(Control("Edit1")->isEnabled());
}

TEST_F(TForm1Test, BadUserListCountIsReportedByTheErrorReport) {
  Write("users/userlist.kvd", "many\r\n");
  form();
  EXPECT_EQ(Messages(), Lines{"16:'many' is not a valid integer value."});
}

TEST_F(TForm1Test, EncryptedUserAt101UpgradesFromTheButton) {
  AddUsers({UserSpec{"plain", "10200", "", 1, 1, 1}, UserSpec{"암호", "10101", "", 0, 0, 0},
            UserSpec{"enc", "10100", "pw", 2, 1, 1}});
  const Lines profile_before = SplitLines(Read("users/enc/profile.qbd"));
  EXPECT_EQ(Control<QListWidget>("ListBox1")->item(1)->text().toStdString(), "암호");
  SelectRow(2);
  EXPECT_EQ(Text(Control("Label9")), "enc");
  EXPECT_EQ(Text(Control("Label10")), "사용");
  EXPECT_EQ(Text(Control("Label11")), "v 1.01.00");
  Control<QLineEdit>("Edit1")->setText("pw");
  Control<QPushButton>("Button1")->click();
  EXPECT_FALSE(Control("Panel1")->isEnabled());
  EXPECT_FALSE(Control("Button1")->isEnabled());
  EXPECT_FALSE(Control("Button2")->isEnabled());
  EXPECT_TRUE(form().Timer2->isActive());
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"64:사용자 정보 업그레이드가 완료되었습니다!"});
  EXPECT_TRUE(Idle());

  Lines expected = {"### Korvane Dayledger - 사용자 정보 업그레이드 ###"};
  for (const std::string& text : testing::ExpectedRunLog("10100")) {
    expected.push_back("[14:05:09]" + text);
  }
  EXPECT_EQ(MemoLines(), expected);
  EXPECT_TRUE(Control("Panel1")->isEnabled());
  EXPECT_TRUE(Control("Button1")->isEnabled());
  EXPECT_TRUE(Control("Button2")->isEnabled());
  EXPECT_EQ(Text(Control("Label11")), "v 1.03.00");
  Lines profile_expected = profile_before;
  profile_expected[1] = "10300";
  EXPECT_EQ(SplitLines(Read("users/enc/profile.qbd")), profile_expected);

  // A second upgrade in the same run appends below the first.
  platform.messages.clear();
  SelectRow(0);
  Control<QPushButton>("Button1")->click();
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(MemoLines().size(), expected.size() + testing::ExpectedRunLog("10200").size());
  EXPECT_EQ(MemoLines().front(), expected.front());
}

TEST_F(TForm1Test, WrongPasswordSelectsTheTextAndKeepsTheKey) {
  AddUsers({UserSpec{"enc", "10100", "pw", 0, 0, 0}});
  auto* edit = Control<QLineEdit>("Edit1");
  edit->setText("bad password");
  Control<QPushButton>("Button1")->click();
  EXPECT_EQ(Messages(), Lines{"16:비밀번호가 틀렸습니다."});
  EXPECT_EQ(edit->selectedText(), "bad password");
  EXPECT_EQ(form().focusWidget(), edit);
  EXPECT_EQ(form().tool().state().DataKey, std::string(40, '0'));
  EXPECT_TRUE(Control("Button1")->isEnabled());
  EXPECT_EQ(Text(Control("Label9")), "enc") << "the selection stays";
  EXPECT_FALSE(form().Timer2->isActive());
}

TEST_F(TForm1Test, SkipBackupCheckedBeforeTheTickSkipsWithoutAsking) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Control<QPushButton>("Button1")->click();
  Control<QCheckBox>("CheckBox1")->setChecked(true);
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"64:사용자 정보 업그레이드가 완료되었습니다!"});
  EXPECT_EQ(MemoLines().at(3), "[14:05:09]데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
}

TEST_F(TForm1Test, AlreadyLatestIsRefusedEvenWithTheSkipBox) {
  AddUsers({UserSpec{"new", "10300", "", 0, 0, 0}});
  Control<QCheckBox>("CheckBox1")->setChecked(true);
  Control<QPushButton>("Button1")->click();
  EXPECT_EQ(Messages(), Lines{"64:해당 사용자 데이터 버전은 이미 최신 버전입니다."});
  EXPECT_EQ(MemoLines().size(), 1u);
}

TEST_F(TForm1Test, FailingBackupShowsTheMessageAndStops) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  platform.fail_copy_tree = true;
  Control<QPushButton>("Button1")->click();
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{std::string("16:") + texts::kBackupFailed});
  EXPECT_TRUE(Idle());
  EXPECT_FALSE(Control("Panel1")->isEnabled());
  EXPECT_FALSE(Control("Button2")->isEnabled());
}

TEST_F(TForm1Test, MissingStageFileStopsWithTheWindowDisabled) {
  AddUsers({UserSpec{"u", "10000", "", 1, 1, 1}});
  std::filesystem::remove(Path("users/u/schedules/199001.qbsd"));
  Control<QPushButton>("Button1")->click();
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"16:Cannot open file " + builder.AppDir() +
                              "\\users\\u\\schedules\\199001.qbsd."});
  QCoreApplication::processEvents();
  EXPECT_TRUE(Idle());
  EXPECT_FALSE(Control("Panel1")->isEnabled());
  EXPECT_FALSE(Control("Button1")->isEnabled());
  EXPECT_EQ(SplitLines(Read("users/u/profile.qbd")).at(1), "10000");
}

TEST_F(TForm1Test, CalendarComponentHoldsItsStoredValues) {
  platform.now = {2026, 12, 7, 8, 0, 0};  // construction converts today first
  TSolLun* calendar = Control<TSolLun>("SolLun1");
  ASSERT_NE(calendar, nullptr);
  EXPECT_EQ(calendar->parent(), &form());
  EXPECT_EQ(calendar->solYear(), 2009);
  EXPECT_EQ(calendar->solMonth(), 11);
  EXPECT_EQ(calendar->solDay(), 4);
  EXPECT_EQ(calendar->lunYear(), 2009);
  EXPECT_EQ(calendar->lunMonth(), 9);
  EXPECT_EQ(calendar->lunDay(), 18);
  EXPECT_FALSE(calendar->isLeap());
}

TEST_F(TForm1Test, ExitButtonClosesTheWindow) {
  form();
  ASSERT_TRUE(form().isVisible());
  Control<QPushButton>("Button2")->click();
  EXPECT_FALSE(form().isVisible());
}

}  // namespace
}  // namespace dayledger
