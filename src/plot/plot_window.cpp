#include "plot/plot_window.h"

#include <QStatusBar>

#include "shell/widgets.h"

namespace kovaro {

TForm2::TForm2() {
  InitWindow(this, "TForm2", QStringLiteral("Time response"), 544, 375);
  move(329, 301);
  PaintBox1 = new QWidget(this);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  Place();
}

void TForm2::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Place();
}

// The status bar along the bottom, the paint surface filling the rest.
void TForm2::Place() {
  constexpr int kStatusHeight = 19;
  PaintBox1->setGeometry(0, 0, width(), height() - kStatusHeight);
  StatusBar1->setGeometry(0, height() - kStatusHeight, width(), kStatusHeight);
}

}  // namespace kovaro
