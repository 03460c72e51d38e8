#pragma once

// Small makers for the controls the windows place at fixed positions.

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QString;
class QWidget;

namespace kovaro {

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int width = 97);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, int x, int y, bool checked);
// Tab and Ctrl+Tab move the focus on from a text area instead of typing a tab.
void TabLeaves(QPlainTextEdit* area);

QFrame* MakeFrame(QWidget* parent, int x, int y, int width, int height);
// A titled frame whose controls are placed inside it.
QGroupBox* MakeGroup(QWidget* parent, const QString& title, int x, int y, int width, int height);

// Names a top-level window, sets its caption and the 8-point dialog font, and sizes its
// client area for an outer size, with the usual title bar and borders, of width x height.
// A window whose controls stand at fixed places keeps at least that size; one that fits its
// contents to its size (fixed_layout false) may be made smaller.
void InitWindow(QWidget* window, const char* name, const QString& caption, int width, int height,
                bool fixed_layout = true);

// The busy cursor for the life of the object, over an action that takes a noticeable time.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace kovaro
