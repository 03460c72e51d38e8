#pragma once

// Small makers for the controls the windows place at fixed positions.

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QString;
class QWidget;

namespace kovaro {

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int width = 97);
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, int x, int y, bool checked);
QFrame* MakeFrame(QWidget* parent, int x, int y, int width, int height);

// Names a top-level window, sets its caption and the 8-point dialog font, and sizes its
// client area for an outer size, with the usual title bar and borders, of width x height.
void InitWindow(QWidget* window, const char* name, const QString& caption, int width, int height);

}  // namespace kovaro
