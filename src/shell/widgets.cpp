#include "shell/widgets.h"

#include <QCheckBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace kovaro {

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

void InitWindow(QWidget* window, const char* name, const QString& caption, int width, int height) {
  window->setObjectName(QString::fromLatin1(name));
  window->setWindowTitle(caption);
  // Arial's metrics (Liberation Sans on Linux) keep the labels within the fixed positions.
  QFont font(QStringLiteral("Arial"), 8);
  font.setStyleHint(QFont::SansSerif);
  window->setFont(font);
  constexpr int kBorders = 16;  // left and right border
  constexpr int kTitle = 38;    // title bar and bottom border
  window->resize(width - kBorders, height - kTitle);
}

}  // namespace kovaro
