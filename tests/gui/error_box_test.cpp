#include "shell/error_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "gui_helpers.h"
#include "shell/file_error.h"
#include "shell/float_error.h"
#include "shell/messages.h"

using namespace kovaro;

TEST(ErrorBox, CriticalBoxTitledKovaroWithTheFullStopRule) {
  QString title;
  QString text;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    box->accept();
  });
  const ErrorPresenter tests = SetErrorPresenter(nullptr);
  EXPECT_FALSE(Guarded(nullptr, [] { throw FloatError(kOverflow); }));
  SetErrorPresenter(tests);
  EXPECT_EQ(title, "Kovaro");
  EXPECT_EQ(text, "Floating point overflow.");

  ErrorRecorder boxes;
  EXPECT_FALSE(Guarded(nullptr, [] { throw FileError("Disk full"); }));
  EXPECT_FALSE(Guarded(nullptr, [] { throw InvalidNumber("12 "); }));
  EXPECT_FALSE(Guarded(nullptr, [] { throw InputError("Points must be between 2 and 100000"); }));
  // Whatever else a library throws ends the action too, with its message.
  EXPECT_FALSE(Guarded(nullptr, [] { throw std::out_of_range("stoi"); }));
  EXPECT_TRUE(Guarded(nullptr, [] {}));
  ShowError(nullptr, "Something wrong (line 2)");  // ends before "." in character order
  ShowError(nullptr, "Too few points.");
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Disk full.", "12  is not a valid number.",
                                                   "Points must be between 2 and 100000.", "stoi.",
                                                   "Something wrong (line 2)", "Too few points."}));
}
