#include "plot/plot_window.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QStatusBar>

#include "app/main_window.h"
#include "plot/plot_paint.h"
#include "shell/error_box.h"
#include "shell/format.h"
#include "shell/nedit.h"
#include "shell/real_math.h"
#include "shell/text_file.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

QPen DottedPen(const QColor& color) {
  QPen pen(color, 1);
  pen.setDashPattern({1, 1});
  return pen;
}

}  // namespace

PlotSurface::PlotSurface(TForm2& form) : QWidget(&form), form_(form) {
  setObjectName(QStringLiteral("PaintBox1"));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotSurface::UpdateBox() {
  box_only_ = true;
  update();
}

void PlotSurface::RepaintAll() {
  box_only_ = false;
  repaint();
}

const QImage& PlotSurface::Picture() {
  if (picture_.size() != size()) Paint();
  return picture_;
}

void PlotSurface::Paint() {
  picture_ = QImage(size(), QImage::Format_RGB32);
  QPainter painter(&picture_);
  painter.setFont(font());
  form_.PaintBox1Paint(painter, width(), height());
}

void PlotSurface::paintEvent(QPaintEvent*) {
  if (!box_only_ || picture_.size() != size()) Paint();
  box_only_ = false;
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  const TForm2::ZoomBox& box = form_.Box();
  if (box.dragging) {
    // The outline inverts what lies under it, as a rubber band drawn in exclusive-or does.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(DottedPen(Qt::white));
    painter.setBrush(Qt::NoBrush);
    const QPoint corners[5] = {
        {box.x0, box.y0}, {box.x1, box.y0}, {box.x1, box.y1}, {box.x0, box.y1}, {box.x0, box.y0}};
    painter.drawPolyline(corners, 5);
  }
}

void PlotSurface::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  form_.PaintBox1MouseDown(p.x(), p.y());
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  form_.PaintBox1MouseMove(p.x(), p.y());
}

void PlotSurface::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  form_.PaintBox1MouseUp(p.x(), p.y());
}

TForm2::TForm2(AppState& state, TForm1& main) : state_(state), main_(main) {
  InitWindow(this, "TForm2", QStringLiteral("Time response"), 544, 375, false);
  move(329, 301);
  setFocusPolicy(Qt::StrongFocus);
  PaintBox1 = new PlotSurface(*this);
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  Place();
}

void TForm2::Repaint() { PaintBox1->RepaintAll(); }

void TForm2::PaintBox1Paint(QPainter& painter, int width, int height) {
  LegendScales scales;
  for (int c = 0; c < kChannelCount; ++c) scales[c] = main_.Scales[c]->panel_real();
  mapping_ = PaintPlot(painter, width, height, state_.Store, scales);
  if (!IsValid(mapping_)) StatusBar1->clearMessage();  // no readout of a view without extent
}

void TForm2::FormKeyPress(char key) {
  Guarded(this, [&] {
    if (ApplyKey(key, state_.Store.ViewRange, state_.Store.FullRange)) Repaint();
  });
}

void TForm2::PaintBox1MouseDown(int x, int y) {
  box_ = {true, x, y, x, y};
  PaintBox1->UpdateBox();
}

void TForm2::PaintBox1MouseMove(int x, int y) {
  if (!IsValid(mapping_)) {  // nothing painted yet, or a view without extent
    StatusBar1->clearMessage();
    return;
  }
  if (box_.dragging) {
    box_.x1 = x;
    box_.y1 = y;
    PaintBox1->UpdateBox();
    StatusBar1->showMessage(QString::fromStdString(DragText(box_.x0, box_.y0, x, y, mapping_)));
  } else {
    StatusBar1->showMessage(QString::fromStdString(PositionText(x, y, mapping_)));
  }
}

void TForm2::PaintBox1MouseUp(int, int) {
  box_.dragging = false;
  PaintBox1->UpdateBox();
  if (ZoomToBox(box_.x0, box_.y0, box_.x1, box_.y1, mapping_, state_.Store.ViewRange)) Repaint();
}

void TForm2::SavePicture() {
  Guarded(this, [this] {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    PaintBox1->Picture().save(&buffer, "PNG");
    const std::string name = state_.DesignName + ".png";
    WriteWholeFile(name, std::string_view(png.constData(), static_cast<size_t>(png.size())), true);
    main_.LogLine("Picture saved as " + name);
  });
}

void TForm2::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Save)) {
    SavePicture();
    return;
  }
  const QString text = event->text();
  if (text.size() == 1 && text[0].unicode() < 128) {
    FormKeyPress(static_cast<char>(text[0].unicode()));
  } else {
    QWidget::keyPressEvent(event);
  }
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
