// The real message box, built and shown by the real code, answered the way
// an operator answers it: by a click on its button, or by closing it.
#include "app/qt_message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>

namespace dayledger {
namespace {

struct Seen {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  std::string title;
  std::string text;
  std::map<QMessageBox::StandardButton, std::string> button_texts;
};

// Waits for the next modal message box, notes what it shows and lets
// `answer` close it.
void AnswerNextBox(Seen* seen, const std::function<void(QMessageBox*)>& answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    timer->stop();
    timer->deleteLater();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    seen->title = box->windowTitle().toStdString();
    seen->text = box->text().toStdString();
    for (QAbstractButton* button : box->buttons()) {
      seen->button_texts[box->standardButton(button)] = button->text().toStdString();
    }
    answer(box);
  });
  timer->start();
}

std::function<void(QMessageBox*)> Click(QMessageBox::StandardButton which) {
  return [which](QMessageBox* box) { box->button(which)->click(); };
}

TEST(QtMessageBoxesTest, FlagsGiveTheIconButtonsAndAnswer) {
  const struct {
    const char* what;
    int flags;
    std::function<void(QMessageBox*)> answer;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    int result;
  } cases[] = {
      {"Yes", kMbQuestionYesNo, Click(QMessageBox::Yes), QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No, kIdYes},
      {"No", kMbQuestionYesNo, Click(QMessageBox::No), QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No, kIdNo},
      {"closed", kMbQuestionYesNo, [](QMessageBox* box) { box->close(); }, QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No, kIdNo},
      // Enter, pressed out of habit, answers a question whose default is No.
      {"Enter, No by default", kMbQuestionYesNo | kMbDefaultButton2,
       [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, QMessageBox::Question,
       QMessageBox::Yes | QMessageBox::No, kIdNo},
      {"error", kMbError, Click(QMessageBox::Ok), QMessageBox::Critical, QMessageBox::Ok, 1},
      {"information", kMbInformation, Click(QMessageBox::Ok), QMessageBox::Information,
       QMessageBox::Ok, 1},
  };
  QtMessageBoxes boxes;
  for (const auto& c : cases) {
    Seen seen;
    AnswerNextBox(&seen, c.answer);
    EXPECT_EQ(boxes.Show("본문", "제목", c.flags), c.result) << c.what;
    EXPECT_EQ(seen.icon, c.icon) << c.what;
    EXPECT_EQ(seen.buttons, c.buttons) << c.what;
    EXPECT_EQ(seen.title, "제목") << c.what;
    EXPECT_EQ(seen.text, "본문") << c.what;
  }
}

TEST(QtMessageBoxesTest, KoreanSystemShowsKoreanButtons) {
  QTranslator* korean = InstallToolkitTranslations(QLocale(QLocale::Korean, QLocale::SouthKorea));
  ASSERT_NE(korean, nullptr) << "Qt's Korean texts are installed";
  QtMessageBoxes boxes;
  Seen question;
  AnswerNextBox(&question, Click(QMessageBox::No));
  boxes.Show("질문", "제목", kMbQuestionYesNo);
  Seen information;
  AnswerNextBox(&information, Click(QMessageBox::Ok));
  boxes.Show("알림", "제목", kMbInformation);
  QCoreApplication::removeTranslator(korean);
  delete korean;
  // As Korean Windows shows them: 예(Y), 아니요(N), 확인.
  using Texts = std::map<QMessageBox::StandardButton, std::string>;
  EXPECT_EQ(question.button_texts,
            (Texts{{QMessageBox::Yes, "예(&Y)"}, {QMessageBox::No, "아니요(&N)"}}));
  EXPECT_EQ(information.button_texts, (Texts{{QMessageBox::Ok, "확인"}}));
}

}  // namespace
}  // namespace dayledger
