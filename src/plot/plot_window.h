#pragma once

#include <QImage>
#include <QWidget>

#include "plot/plot_view.h"
#include "state/app_state.h"

class QPainter;
class QStatusBar;

namespace kovaro {

class TForm1;
class TForm2;

// The paint surface: every paint draws the picture from the store, except those that only
// move the zoom box, which lay the box over the picture of the last paint. Hands the mouse
// to the plot window.
class PlotSurface : public QWidget {
 public:
  explicit PlotSurface(TForm2& form);

  // Asks for a paint of the zoom box alone.
  void UpdateBox();
  // Paints the whole picture at once.
  void RepaintAll();

  // The picture of the last paint, the pixels on screen without the zoom box; painted now
  // when there is none of the surface's size.
  const QImage& Picture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Paint();

  TForm2& form_;
  QImage picture_;
  bool box_only_ = false;
};

// "Time response": the plot of the last run, navigated with keys and a mouse-drawn box.
class TForm2 : public QWidget {
 public:
  TForm2(AppState& state, TForm1& main);

  // Draws the picture again at once: the view changed.
  void Repaint();

  // Draws the whole picture on a surface of width x height.
  void PaintBox1Paint(QPainter& painter, int width, int height);

  void FormKeyPress(char key);

  // Ctrl+S: the paint surface's picture as DesignName + ".png" in the working directory.
  void SavePicture();
  void PaintBox1MouseDown(int x, int y);
  void PaintBox1MouseMove(int x, int y);
  void PaintBox1MouseUp(int x, int y);

  // The zoom box while it is dragged: corners in pixels of the paint surface.
  struct ZoomBox {
    bool dragging = false;
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
  };
  const ZoomBox& Box() const { return box_; }
  const PlotMapping& Mapping() const { return mapping_; }

  PlotSurface* PaintBox1;
  QStatusBar* StatusBar1;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();

  AppState& state_;
  TForm1& main_;
  PlotMapping mapping_;
  ZoomBox box_;
};

}  // namespace kovaro
