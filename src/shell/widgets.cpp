#include "shell/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kovaro {
namespace {

// Enter and Return press the focused button, as in the platform's dialogs; Space already does.
class EnterPresses : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        static_cast<QPushButton*>(watched)->click();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

// Ctrl+Tab leaves a text area too, as it does in the platform's dialogs.
class ControlTabLeaves : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
          (key->modifiers() & Qt::ControlModifier)) {
        auto* area = static_cast<QWidget*>(watched);
        const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        QWidget* next = back ? area->previousInFocusChain() : area->nextInFocusChain();
        while (next != area &&
               !(next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)))
          next = back ? next->previousInFocusChain() : next->nextInFocusChain();
        next->setFocus(back ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void TabLeaves(QPlainTextEdit* area) {
  area->setTabChangesFocus(true);
  area->installEventFilter(new ControlTabLeaves(area));
}

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->move(x, y + 3);  // level with the text of a field at y
  label->adjustSize();
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y, int width) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(x, y, width, 25);
  button->installEventFilter(new EnterPresses(button));
  return button;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, int x, int y, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  box->move(x, y);
  box->adjustSize();
  return box;
}

QFrame* MakeFrame(QWidget* parent, int x, int y, int width, int height) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setGeometry(x, y, width, height);
  return frame;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int x, int y, int width, int height) {
  auto* group = new QGroupBox(title, parent);
  group->setGeometry(x, y, width, height);
  return group;
}

void InitWindow(QWidget* window, const char* name, const QString& caption, int width, int height,
                bool fixed_layout) {
  window->setObjectName(QString::fromLatin1(name));
  window->setWindowTitle(caption);
  // Arial's metrics (Liberation Sans on Linux) keep the labels within the fixed positions.
  QFont font(QStringLiteral("Arial"), 8);
  font.setStyleHint(QFont::SansSerif);
  window->setFont(font);
  constexpr int kBorders = 16;  // left and right border
  constexpr int kTitle = 38;    // title bar and bottom border
  window->resize(width - kBorders, height - kTitle);
  if (fixed_layout) window->setMinimumSize(window->size());
}

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace kovaro
