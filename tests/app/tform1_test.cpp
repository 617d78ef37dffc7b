// The Qt window shown and driven by clicks and keys: layout, selection,
// refusals, the whole upgrade.
#include "app/tform1.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "anniversary/anniversary_stage.h"
#include "floor/installation.h"
#include "platform/native_path.h"
#include "state/line_file.h"
#include "support/designed_window.h"
#include "support/expected_log.h"
#include "support/front_end_cases.h"
#include "support/native_files.h"
#include "support/opened_installation.h"
#include "support/upgrade_fixture.h"
#include "support/wait.h"
#include "texts/texts.h"

namespace dayledger {
namespace {

using demo::InstallationBuilder;
using demo::UserSpec;
using Lines = std::vector<std::string>;

std::string Text(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title().toStdString();
  if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) return memo->toPlainText().toStdString();
  return "";
}

class TForm1Test : public testing::UpgradeFixture {
 protected:
  TForm1& form() {
    if (!form_) {
      platform.executable_path = builder.AppDir().WithSuffix("dayledger-upgrade-gui");
      opened_ = std::make_unique<OpenedInstallation>(OpenProgramInstallation(platform));
      if (!opened_->installation.ok()) throw std::runtime_error("the opening stopped");
      form_ = std::make_unique<TForm1>(*opened_->installation, platform, opened_->notes);
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
    return testing::WaitUntil(done, [] { QTest::qWait(20); });
  }
  bool Idle() { return !form().Timer1->isActive() && !form().Timer2->isActive(); }
  // A new window on the installation as it is now.
  void Reopen() {
    form_.reset();
    form();
  }
  Lines MemoLines() {
    const QStringList lines = Control<QPlainTextEdit>("Memo1")->toPlainText().split('\n');
    Lines texts;
    for (const QString& line : lines) texts.push_back(line.toStdString());
    return texts;
  }
  // Selects a row as the operator does: a mouse click on the item.
  void SelectRow(int row) {
    auto* list = Control<QListWidget>("ListBox1");
    list->scrollToItem(list->item(row));
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
  }
  void Click(const char* button) {
    QTest::mouseClick(Control<QPushButton>(button), Qt::LeftButton);
  }

 private:
  std::unique_ptr<OpenedInstallation> opened_;  // outlives the window
  std::unique_ptr<TForm1> form_;
};

TEST_F(TForm1Test, LayoutMatchesTheDesign) {
  for (const DesignedControl& c : kDesign) {
    const QRect designed(c.x, c.y, c.width, c.height);
    QWidget* widget = Control(c.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName().toStdString(), c.parent) << c.name;
    EXPECT_EQ(Text(widget), c.text) << c.name;
    auto* label = qobject_cast<QLabel*>(widget);
    if (label == nullptr || c.name == std::string("Label15")) {
      EXPECT_EQ(widget->geometry(), designed) << c.name;
      continue;
    }
    // A label keeps its place and grows to its whole text in the window's font.
    EXPECT_EQ(label->pos(), designed.topLeft()) << c.name;
    EXPECT_EQ(label->height(), c.height) << c.name;
    EXPECT_GE(label->width(), c.width) << c.name;
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << c.name;
  }
  EXPECT_EQ(form().windowTitle().toStdString(), kDesignedTitle);
  EXPECT_EQ(form().size(), QSize(kDesignedWidth, kDesignedHeight));
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
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보를 찾을 수 없습니다.\n찾아본 위치 : " +
                              builder.AppDir().text() + "users\\userlist.kvd" +
                              "\n이 프로그램은 Dayledger가 설치된 폴더에 두고 실행해야 합니다."});
  EXPECT_EQ(platform.messages[0].caption, "Dayledger 사용자 정보 업그레이드");
  EXPECT_EQ(Text(Control("Label9")), "(사용자명)");
  EXPECT_EQ(Control<QListWidget>("ListBox1")->count(), 0);
  EXPECT_TRUE(Control("Edit1")->isEnabled());
}

TEST_F(TForm1Test, BadUserListCountIsReportedByTheErrorReport) {
  Write("users/userlist.kvd", "many\r\n");
  form();
  EXPECT_EQ(Messages(),
            Lines{"error:'many' is not a valid integer value." +
                  testing::FileShown(builder.AppDir().text() + "\\users\\userlist.kvd")});
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
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보 업그레이드가 완료되었습니다!"});
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

TEST_F(TForm1Test, WrongPasswordSelectsTheTextAndKeepsTheSelection) {
  AddUsers({UserSpec{"enc", "10100", "pw", 0, 0, 0}});
  auto* edit = Control<QLineEdit>("Edit1");
  edit->setText("bad password");
  Control<QPushButton>("Button1")->click();
  EXPECT_EQ(Messages(), Lines{"error:비밀번호가 틀렸습니다."});
  EXPECT_EQ(edit->selectedText(), "bad password");
  EXPECT_EQ(form().focusWidget(), edit);
  EXPECT_TRUE(Control("Button1")->isEnabled());
  EXPECT_EQ(Text(Control("Label9")), "enc") << "the selection stays";
  EXPECT_FALSE(form().Timer2->isActive());
}

TEST_F(TForm1Test, SkipBackupCheckedBeforeTheTickSkipsWithoutAsking) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Control<QPushButton>("Button1")->click();
  Control<QCheckBox>("CheckBox1")->setChecked(true);
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보 업그레이드가 완료되었습니다!"});
  EXPECT_EQ(MemoLines().at(3),
            "[14:05:09]데이터 백업 건너뛰기가 설정된 상태입니다. 백업 과정을 건너뜁니다.");
}

TEST_F(TForm1Test, AlreadyLatestIsRefusedEvenWithTheSkipBox) {
  AddUsers({UserSpec{"new", "10300", "", 0, 0, 0}});
  Control<QCheckBox>("CheckBox1")->setChecked(true);
  Control<QPushButton>("Button1")->click();
  EXPECT_EQ(Messages(), Lines{"information:해당 사용자 데이터 버전은 이미 최신 버전입니다."});
  EXPECT_EQ(MemoLines().size(), 1u);
}

TEST_F(TForm1Test, FailingBackupShowsTheMessageAndStops) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  platform.fail_folder_listing = true;
  Control<QPushButton>("Button1")->click();
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  // Word for word, as the operator reads it: a folder of the user's that
  // cannot be read, which skipping the backup would not mend.
  EXPECT_EQ(Messages(),
            Lines{"error:데이터를 백업하는데 오류가 발생하였습니다.\n"
                  "사용자 폴더의 파일을 읽을 수 없어 백업하지 못했습니다. 사용자 데이터는 바뀌지 "
                  "않았습니다. 이 파일을 읽을 수 있게 한 다음 다시 시도해 주십시오: " +
                  (builder.AppDir() / "users" / "u").Normal().text() + testing::ReasonShown(EIO) +
                  RecordNamed()});
  EXPECT_TRUE(Idle());
  EXPECT_FALSE(Control("Panel1")->isEnabled());
  EXPECT_FALSE(Control("Button2")->isEnabled());
}

TEST_F(TForm1Test, MissingStageFileStopsWithTheWindowDisabled) {
  AddUsers({UserSpec{"u", "10000", "", 1, 1, 1}});
  std::filesystem::remove(NativeOf("users/u/schedules/199001.qbsd"));
  Control<QPushButton>("Button1")->click();
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"error:Cannot open file " + builder.AppDir().text() +
                              "\\users\\u\\schedules\\199001.qbsd." + testing::ReasonShown(ENOENT) +
                              RecordNamed()});
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

namespace dayledger {
namespace {

// The user list and profile rules, seen in the real window's controls.
TEST_F(TForm1Test, UserListAndProfileDisplay) {
  const struct {
    const char* name;
    std::string list;
    Lines items = {};
    std::string message = {};  // none when empty
    std::string user_label = {};
    bool password_enabled = false;
  } cases[] = {
      {.name = "count 0", .list = "0\r\na\r\n"},
      {.name = "count 2 of three",
       .list = "2\r\na\r\nb\r\nc\r\n",
       .items = {"a", "b"},
       .user_label = "a"},
      {.name = "not a number",
       .list = "x\r\na\r\n",
       .message = "error:'x' is not a valid integer value.",
       .user_label = "(사용자명)",
       .password_enabled = true},
      {.name = "too few names",
       .list = "3\r\na\r\nb\r\n",
       .items = {"a", "b"},
       .message = "error:List index out of bounds (3)",
       .user_label = "(사용자명)",
       .password_enabled = true},
  };
  for (const auto& c : cases) {
    testing::TestPlatform local;
    demo::InstallationBuilder installation(local.temp_dir());
    InstallationBuilder::WriteNative(local.temp_dir() + "/users/userlist.kvd", c.list);
    InstallationBuilder::WriteNative(
        local.temp_dir() + "/users/a/profile.qbd",
        "#profile data#\r\n10000\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n0\r\n");
    local.executable_path = installation.AppDir().WithSuffix("dayledger-upgrade-gui");
    OpenedInstallation opened = OpenProgramInstallation(local);
    ASSERT_TRUE(opened.installation.ok()) << c.name;
    TForm1 window(*opened.installation, local);
    auto* list = window.findChild<QListWidget*>("ListBox1");
    Lines items;
    for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
    EXPECT_EQ(items, c.items) << c.name;
    // A damaged list's error names the list.
    const std::string list_file =
        testing::FileShown(installation.AppDir().text() + "\\users\\userlist.kvd");
    EXPECT_EQ(local.MessageLines(), c.message.empty() ? Lines{} : Lines{c.message + list_file})
        << c.name;
    EXPECT_EQ(window.findChild<QLabel*>("Label9")->text().toStdString(), c.user_label) << c.name;
    EXPECT_EQ(window.findChild<QLineEdit*>("Edit1")->isEnabled(), c.password_enabled) << c.name;
  }
}

TEST_F(TForm1Test, SelectionShowsVersionEncryptionAndDamage) {
  AddUsers({UserSpec{"홍길동", "10200", "암호", 0, 0, 0}, UserSpec{"plain", "10000", "", 0, 0, 0},
            UserSpec{"short", "10000", "", 0, 0, 0}, UserSpec{"blank1", "10000", "", 0, 0, 0},
            UserSpec{"bad", "10000", "", 0, 0, 0}});
  Write("users/short/profile.qbd", "#profile data#\r\n103\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n1\r\n");
  Write("users/blank1/profile.qbd",
        "#profile data#\r\n10000\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n 1\r\n");
  Write("users/bad/profile.qbd", "#profile\r\n10000\r\n");
  const struct {
    int row;
    const char* user;
    const char* encryption;
    const char* version;
    bool password_enabled;
  } cases[] = {
      {0, "홍길동", "사용", "v 1.02.00", true}, {1, "plain", "사용안함", "v 1.00.00", false},
      {2, "short", "사용", "v 1.03.", true},    {3, "blank1", "사용안함", "v 1.00.00", false},
      {2, "short", "사용", "v 1.03.", true},    {4, "bad", "사용", "v 1.03.", true},
  };
  for (const auto& c : cases) {
    SelectRow(c.row);
    EXPECT_EQ(Text(Control("Label9")), c.user);
    EXPECT_EQ(Text(Control("Label10")), c.encryption) << c.user;
    EXPECT_EQ(Text(Control("Label11")), c.version) << c.user;
    EXPECT_EQ(Control("Edit1")->isEnabled(), c.password_enabled) << c.user;
  }
  EXPECT_EQ(Messages(), Lines{"error:사용자 프로파일이 손상되었습니다."});
}

// Every case a front end must pass, driven as the operator does: a click on
// the user, the password typed, the box ticked, the start button clicked.
TEST_F(TForm1Test, EveryFrontEndCase) {
  for (const testing::FrontEndCase& c : testing::FrontEndCases()) {
    const auto running = testing::Install(builder, c);
    Reopen();
    platform.messages.clear();
    SelectRow(0);
    QTest::keyClicks(Control<QLineEdit>("Edit1"), QString::fromStdString(c.password));
    if (c.skip_backup) QTest::mouseClick(Control<QCheckBox>("CheckBox1"), Qt::LeftButton);
    Click("Button1");
    ASSERT_TRUE(WaitUntil([&] { return Idle(); })) << c.name;
    EXPECT_EQ(Messages(), testing::ExpectedMessages(c, builder)) << c.name;
    const Lines memo = MemoLines();  // the design's first line, then the log
    EXPECT_EQ(testing::WithoutStamps(Lines(memo.begin() + 1, memo.end())), c.log) << c.name;
    EXPECT_EQ(Control("Button1")->isEnabled(), c.end != testing::CaseEnd::kStopped) << c.name;
  }
}

TEST_F(TForm1Test, StartRefusals) {
  AddUsers({UserSpec{"upper", "10100", "", 0, 0, 0}, UserSpec{"plain", "10100", "", 0, 0, 0}});
  std::string upper = InstallationBuilder::PasswordDigestFor("pw");
  for (char& c : upper) c = static_cast<char>(toupper(c));
  Write("users/upper/profile.qbd",
        "#profile data#\r\n10100\r\n\r\n\r\n\r\n\r\n\r\n\r\n" + upper + "\r\n1\r\n");
  const struct {
    int row;
    bool skip;
    int answer;
    Lines messages;
  } cases[] = {
      {0, false, 1, {"error:비밀번호가 틀렸습니다."}},
      {1,
       true,
       kIdNo,
       {"question:데이터 백업 건너뛰기를 설정하셨습니다.\n"
        "업그레이드 과정에서 데이터가 손실될 우려가 있기 때문에\n"
        "사용자가 직접 데이터 백업을 하신 후에 업그레이드를 하실 것을 권장합니다.\n"
        "(사용자 파일들은 (프로그램 설치 경로)\\users\\(사용자이름) 에 위치해 있습니다)\n"
        "\n"
        "업그레이드를 진행할까요?"}},
  };
  for (const auto& c : cases) {
    SelectRow(c.row);
    Control<QLineEdit>("Edit1")->setText("pw");
    Control<QCheckBox>("CheckBox1")->setChecked(c.skip);
    platform.messages.clear();
    platform.answers = {c.answer};
    Control<QPushButton>("Button1")->click();
    EXPECT_EQ(Messages(), c.messages) << c.row;
    EXPECT_EQ(MemoLines().size(), 1u) << "nothing logged";
    EXPECT_TRUE(Control("Button1")->isEnabled());
    EXPECT_TRUE(Idle());
  }
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// The list under a real mouse and keyboard.
TEST_F(TForm1Test, FirstClickRightAfterOpeningShowsTheFirstUser) {
  AddUsers({UserSpec{"enc", "10100", "pw", 0, 0, 0}, UserSpec{"plain", "10000", "", 0, 0, 0}});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
  SelectRow(0);
  EXPECT_EQ(Text(Control("Label9")), "enc");
  EXPECT_EQ(Text(Control("Label10")), "사용");
  EXPECT_TRUE(Control("Edit1")->isEnabled());
}

TEST_F(TForm1Test, ClickingEachUserShowsEachInTurn) {
  AddUsers({UserSpec{"first", "10000", "", 0, 0, 0}, UserSpec{"둘째", "10100", "pw", 0, 0, 0},
            UserSpec{"third", "10300", "", 0, 0, 0}});
  const struct {
    int row;
    const char* user;
    const char* version;
    bool password;
  } cases[] = {{1, "둘째", "v 1.01.00", true},
               {2, "third", "v 1.03.00", false},
               {0, "first", "v 1.00.00", false},
               {1, "둘째", "v 1.01.00", true}};
  for (const auto& c : cases) {
    SelectRow(c.row);
    EXPECT_EQ(Text(Control("Label9")), c.user);
    EXPECT_EQ(Text(Control("Label11")), c.version) << c.user;
    EXPECT_EQ(Control("Edit1")->isEnabled(), c.password) << c.user;
  }
  // A click below the last row keeps the selection and what it shows.
  auto* list = Control<QListWidget>("ListBox1");
  const QRect last = list->visualItemRect(list->item(2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    last.center() + QPoint(0, 3 * last.height()));
  EXPECT_EQ(Text(Control("Label9")), "둘째");
  EXPECT_TRUE(list->item(1)->isSelected());
}

TEST_F(TForm1Test, EncryptedUserSelectedByMouseUpgradesFromTheButton) {
  AddUsers({UserSpec{"plain", "10200", "", 0, 0, 0}, UserSpec{"enc", "10100", "pw", 1, 1, 1}});
  SelectRow(1);
  auto* edit = Control<QLineEdit>("Edit1");
  ASSERT_TRUE(edit->isEnabled());
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClicks(edit, "pw");
  Click("Button1");
  ASSERT_TRUE(WaitUntil([&] { return !platform.messages.empty(); }));
  EXPECT_EQ(Messages(), Lines{"information:사용자 정보 업그레이드가 완료되었습니다!"});
  EXPECT_EQ(SplitLines(Read("users/enc/profile.qbd")).at(1), "10300");
  EXPECT_EQ(SplitLines(Read("users/plain/profile.qbd")).at(1), "10200") << "only the shown user";
}

TEST_F(TForm1Test, ClickOnAUserAtTheLatestVersionThenStartChangesNoFile) {
  AddUsers({UserSpec{"old", "10200", "", 1, 1, 1}, UserSpec{"new", "10300", "", 0, 0, 0}});
  const std::string old_profile = Read("users/old/profile.qbd");
  SelectRow(1);
  EXPECT_EQ(Text(Control("Label9")), "new");
  Click("Button1");
  EXPECT_EQ(Messages(), Lines{"information:해당 사용자 데이터 버전은 이미 최신 버전입니다."});
  EXPECT_FALSE(form().Timer2->isActive());
  EXPECT_EQ(Read("users/old/profile.qbd"), old_profile);
  EXPECT_FALSE(std::filesystem::exists(NativeOf("upgrade_backup")));
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(TForm1Test, StartOfAUserLockedElsewhereIsRefusedWithAnInformationBox) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const Result<UserLock> held = installation.LockUser("u");
  ASSERT_TRUE(held.ok());
  const std::string profile = Read("users/u/profile.qbd");
  Click("Button1");
  EXPECT_EQ(Messages(), Lines{std::string("information:") + texts::kUserBusy});
  EXPECT_FALSE(form().Timer2->isActive());
  EXPECT_TRUE(Control("Button1")->isEnabled());
  EXPECT_EQ(Read("users/u/profile.qbd"), profile);
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(TForm1Test, MaskLogFollowingAndCentringOnce) {
  AddUsers({UserSpec{"enc", "10100", "pw", 0, 0, 0}});
  auto* edit = Control<QLineEdit>("Edit1");
  QTest::keyClicks(edit, "pw");
  // What the box shows, one "*" a typed character, as drawn by the platform
  // style (the same test runs on an X display under xcb).
  Control<QPushButton>("Button1")->setFocus();
  const QImage masked = edit->grab().toImage();
  edit->setEchoMode(QLineEdit::Normal);
  edit->setText("**");
  EXPECT_EQ(edit->grab().toImage(), masked) << "shown: not \"**\"";
  edit->setText("pw");
  EXPECT_NE(edit->grab().toImage(), masked) << "the comparison sees the glyphs";
  edit->setEchoMode(QLineEdit::Password);

  auto* memo = Control<QPlainTextEdit>("Memo1");
  for (int i = 0; i < 40; ++i) form().AppendLogLine("line " + std::to_string(i));
  memo->verticalScrollBar()->setValue(0);  // the operator scrolls up
  form().AppendLogLine("newest");
  EXPECT_EQ(memo->verticalScrollBar()->value(), memo->verticalScrollBar()->maximum());

  form().move(5, 7);
  form().hide();
  form().show();
  EXPECT_EQ(form().pos(), QPoint(5, 7)) << "not centred again";
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(TForm1Test, SevenNamesShowAndGroupBoxesTakeTheirPanelsColour) {
  std::vector<UserSpec> users;
  for (const char* name : {"u1", "u2", "u3", "u4", "u5", "u6", "u7", "u8"}) {
    users.push_back(UserSpec{name, "10000", "", 0, 0, 0});
  }
  AddUsers(users);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
  auto* list = Control<QListWidget>("ListBox1");
  for (int row = 0; row < 8; ++row)
    EXPECT_EQ(list->visualItemRect(list->item(row)).height(), 13) << row;
  EXPECT_LE(list->visualItemRect(list->item(6)).bottom(), list->viewport()->height())
      << "seven whole rows";

  const QImage image = form().grab().toImage();
  auto colour = [&](const char* name, QPoint at) {
    return image.pixelColor(Control(name)->mapTo(&form(), at));
  };
  EXPECT_EQ(colour("GroupBox1", {4, 40}), colour("Panel1", {4, 4}));
  EXPECT_EQ(colour("GroupBox2", {4, 110}), colour("Panel1", {4, 4}));
  EXPECT_EQ(colour("Panel1", {4, 4}), QColor("#f6f6f6"));
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

TEST_F(TForm1Test, AnInterruptedChangeIsUndoneBeforeTheListShowsAndTheWindowSaysSo) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  const std::string profile = Read("users/u/profile.qbd");
  Write("users/u/.dlu-1", "#profile data#\r\n10300\r\n");
  Write("users/u/.dlu-journal",
        "dayledger journal 1\nR\t.dlu-1\tprofile.qbd\n");  // torn: no checksum
  form();
  EXPECT_EQ(
      Messages(),
      Lines{"information:중단되었던 변경을 취소하여 변경 전의 데이터로 두었습니다. (사용자 : u)"});
  EXPECT_EQ(Read("users/u/profile.qbd"), profile);
  EXPECT_FALSE(std::filesystem::exists(NativeOf("users/u/.dlu-1")));
  EXPECT_FALSE(std::filesystem::exists(NativeOf("users/u/.dlu-journal")));
  EXPECT_EQ(Text(Control("Label11")), "v 1.02.00");
}

// A scanner holds the journal at the start: the program says which file
// and why, in an error box, makes no window, and nothing changes.
TEST_F(TForm1Test, AJournalThatCannotBeReadStopsTheOpeningAndChangesNothing) {
  AddUsers({UserSpec{"u", "10200", "", 1, 1, 1}});
  Write("users/u/.dlu-1", "#profile data#\r\n10300\r\n");
  Write("users/u/.dlu-journal", "held, so never read");
  platform.fail_read_path = NativeOf("users/u/.dlu-journal");
  const auto before = testing::SnapshotTree(NativeOf("users"));
  platform.executable_path = builder.AppDir().WithSuffix("dayledger-upgrade-gui");
  EXPECT_FALSE(OpenedForWindow(OpenProgramInstallation(platform), platform));
  EXPECT_EQ(Messages(), Lines{"error:중단되었던 변경을 정리하지 못했습니다. (사용자 : u) " +
                              std::string(texts::kRecoveryHeld) + builder.AppDir().text() +
                              "\\users\\u\\.dlu-journal." + testing::ReasonShown(EIO)});
  EXPECT_TRUE(testing::SnapshotTree(NativeOf("users")) == before);
}

}  // namespace
}  // namespace dayledger

namespace dayledger {
namespace {

// The version the upgrade leads to, as the window shows it, is the version
// table's: a table with a step past 1.03 shows that step's version.
TEST_F(TForm1Test, TheTargetVersionLabelFollowsTheVersionTable) {
  AddUsers({UserSpec{"u", "10300"}});
  std::vector<VersionStep> steps = VersionChain::Standard().steps();
  steps.push_back({"10300", "10400", StampAnniversaryFiles, StampAnniversaryFiles});
  const VersionChain chain(std::move(steps));
  Installation installation = testing::OpenedOn(platform, builder.AppDir());
  TForm1 window(installation, platform, {}, chain);
  EXPECT_EQ(window.findChild<QLabel*>("Label13")->text().toStdString(), "v 1.04.00");
  EXPECT_EQ(Text(Control("Label13")), "v 1.03.00");
}

// The window found next to it an installation whose folder name CP949
// cannot hold, and upgrades a user there.
TEST_F(TForm1Test, InstallationInAFolderNamedOutsideCp949) {
  AddUsers({UserSpec{"u", "10100", "", 1, 1, 1}});
  const std::string folder = platform.temp_dir() + "/café 😀";
  std::filesystem::create_directories(folder);
  std::filesystem::rename(builder.root(), folder + "/app");
  platform.executable_path = ToolPathFromNative(folder + "/app/dayledger-upgrade-gui");
  OpenedInstallation opened = OpenProgramInstallation(platform);
  ASSERT_TRUE(opened.installation.ok());
  TForm1 window(*opened.installation, platform);
  window.show();
  auto* list = window.findChild<QListWidget*>("ListBox1");
  ASSERT_EQ(list->count(), 1);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualItemRect(list->item(0)).center());
  QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_TRUE(testing::WaitUntil(
      [&] {
        return !platform.messages.empty() && !window.Timer1->isActive() &&
               !window.Timer2->isActive();
      },
      [] { QTest::qWait(20); }));
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, texts::kUpgradeDone);
  EXPECT_EQ(SplitLines(InstallationBuilder::ReadNative(folder + "/app/users/u/profile.qbd")).at(1),
            "10300");
}

}  // namespace
}  // namespace dayledger
