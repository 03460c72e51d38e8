#pragma once

#include <QWidget>

class QStatusBar;

namespace kovaro {

// "Time response": the paint surface above the status bar.
class TForm2 : public QWidget {
 public:
  TForm2();

  QWidget* PaintBox1;
  QStatusBar* StatusBar1;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();
};

}  // namespace kovaro
