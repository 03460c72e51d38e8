#pragma once

#include <QApplication>
#include <QCategoryAxis>
#include <QChartView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <QXYSeries>
#include <ostream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/program.h"
#include "shell/error_box.h"

// Records the texts of the error boxes instead of showing them.
class ErrorRecorder {
 public:
  ErrorRecorder()
      : old_(kovaro::SetErrorPresenter(
            [this](QWidget*, const QString& text) { texts.push_back(text.toStdString()); })) {}
  ~ErrorRecorder() { kovaro::SetErrorPresenter(old_); }

  std::vector<std::string> texts;

 private:
  kovaro::ErrorPresenter old_;
};

// Shows a window and makes it the active one, as a user's click would.
inline void Activate(QWidget* window) {
  window->show();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  (void)QTest::qWaitForWindowActive(window);
}

// Replaces a field's text by typing, as a user would.
inline void Type(QLineEdit* field, const QString& text) {
  Activate(field->window());
  field->setFocus(Qt::MouseFocusReason);
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClicks(field, text);
}

// Presses a button with the mouse.
inline void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// The report area's lines.
inline QStringList MemoLines(const kovaro::TForm1& form) { return form.Memo1->toPlainText().split('\n'); }

// Leaves the focused field with the Tab key.
inline void Leave(QLineEdit* field) { QTest::keyClick(field, Qt::Key_Tab); }

// Types into a field and leaves it, as a user does before pressing a button.
inline void Enter(QLineEdit* field, const QString& text) {
  Type(field, text);
  Leave(field);
}

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// Moves the pointer over a widget with no button held. (QTest's mouseMove reaches a widget
// only while a button is held on the offscreen platform.)
inline void Hover(QWidget* widget, QPoint pos) {
  QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

// The lossless design with the window's defaults, as a user makes it.
inline void LosslessDesign(kovaro::Program& p) {
  p.Start();
  Click(p.form1.Button3);
  Click(p.flossless.Blossless);
}

// A chart a user can read: every axis with one to ten labels, every point placed within the
// plot area.
inline void ExpectDrawable(QChartView* view, const std::string& label) {
  for (QAbstractAxis* axis : view->chart()->axes()) {
    const auto* ticks = qobject_cast<QCategoryAxis*>(axis);
    ASSERT_NE(ticks, nullptr) << label;
    EXPECT_GE(ticks->count(), 1) << label << " " << axis->titleText().toStdString();
    EXPECT_LE(ticks->count(), 10) << label << " " << axis->titleText().toStdString();
  }
  for (QAbstractSeries* series : view->chart()->series()) {
    for (const QPointF& p : static_cast<QXYSeries*>(series)->points()) {
      EXPECT_TRUE(p.x() >= -1e-9 && p.x() <= 1 + 1e-9 && p.y() >= -1e-9 && p.y() <= 1 + 1e-9)
          << label << " " << p.x() << " " << p.y();
    }
  }
}
