// What the keyboard and the fields do for a user: a field the program sets shows its first
// character, Tab leaves the report area, Enter presses the focused button, and a field keeps
// its refused text pending when focus merely goes to another window or a popup.

#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QPlainTextEdit>
#include <map>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

std::vector<TNEdit*> Fields(Program& p) {
  std::vector<TNEdit*> all;
  for (QWidget* w : std::vector<QWidget*>{&p.form1, &p.form3, &p.flossless, &p.flossy, &p.form4})
    for (TNEdit* f : w->findChildren<TNEdit*>()) all.push_back(f);
  return all;
}

// Runs the action; every field whose text it changed must show its text from the start.
template <class Action>
int32_t ExpectChangedFieldsFromTheStart(Program& p, const char* name, Action action) {
  std::map<TNEdit*, QString> before;
  for (TNEdit* f : Fields(p)) before[f] = f->text();
  action();
  int32_t changed = 0;
  for (TNEdit* f : Fields(p)) {
    if (f->text() == before[f]) continue;
    ++changed;
    EXPECT_EQ(f->cursorPosition(), 0)
        << name << ": " << f->objectName().toStdString() << " " << f->text().toStdString();
  }
  return changed;
}

}  // namespace

TEST(FieldText, WhatTheProgramSetsShowsItsFirstCharacter) {
  ScopedWorkDir dir;
  Program p;
  p.Start();
  struct Action {
    const char* name;
    QWidget* window;  // shown first, as the user's click on its button does
    QPushButton* button;
    int32_t least;  // fields the action changes at least
  };
  const Action actions[] = {{"lossless", &p.flossless, p.flossless.Blossless, 6},
                            {"lossy", &p.flossy, p.flossy.Bdesign, 6},
                            {"set", &p.flossy, p.flossy.Button2, 1},
                            {"from elements", &p.flossy, p.flossy.Button1, 0},
                            {"regular", &p.form4, p.form4.Bapply, 4},
                            {"stop time", &p.form1, p.form1.Button2, 1}};
  for (const Action& a : actions) {
    const int32_t changed = ExpectChangedFieldsFromTheStart(p, a.name, [&] {
      Activate(a.window);
      Click(a.button);
    });
    EXPECT_GE(changed, a.least) << a.name;
  }
  // A typed text keeps the user's cursor.
  Enter(p.form1.NEfin, "294273.208510751");
  EXPECT_EQ(p.form1.NEfin->cursorPosition(), 16);
}

TEST(Keyboard, TabLeavesTheReportAreaAndEnterPressesTheFocusedButton) {
  Program p;
  p.Start();
  Activate(&p.form1);
  const QString help = p.form1.Memo1->toPlainText();
  for (Qt::KeyboardModifiers modifiers :
       {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
    p.form1.Memo1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(p.form1.Memo1, Qt::Key_Tab, modifiers);
    EXPECT_NE(QApplication::focusWidget(), p.form1.Memo1) << modifiers;
  }
  EXPECT_EQ(p.form1.Memo1->toPlainText(), help);

  p.form1.Button2->setFocus(Qt::TabFocusReason);
  QTest::keyClick(p.form1.Button2, Qt::Key_Return);
  EXPECT_EQ(p.form1.NEtempo->text(), "3.25E-5");  // 9.75 cycles of 300 kHz
  p.form1.Belements->setFocus(Qt::TabFocusReason);
  QTest::keyClick(p.form1.Belements, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(p.form3.isVisible());
}

TEST(TNEdit, FocusToAnotherWindowOrAPopupKeepsARefusedTextPending) {
  Program p;
  p.Start();
  Activate(&p.form1);
  ErrorRecorder boxes;
  TNEdit* field = p.form1.NEfin;
  field->setFocus(Qt::MouseFocusReason);
  field->setText(QStringLiteral("3e"));
  for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(field, &out);
  }
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(field->text(), "3e");
  EXPECT_EQ(field->panel_real(), 300000);
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(field, &leave);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"3e is not a valid number."});
}
