#include "plot/plot_window.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QStatusBar>

#include "shell/error_box.h"
#include "shell/format.h"
#include "shell/main_window.h"
#include "shell/nedit.h"
#include "shell/real_math.h"
#include "shell/text_file.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

const QColor kTraceColors[kChannelCount] = {QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xFF, 0xFF),
                                            QColor(0xFF, 0xFF, 0x00), QColor(0xFF, 0x00, 0x00),
                                            QColor(0x00, 0xFF, 0x00), QColor(0x00, 0xFF, 0xFF)};
constexpr int kTraceWidths[kChannelCount] = {1, 1, 1, 1, 1, 1};
const char* const kLegendPrefixes[kChannelCount] = {"Vin x ", "VCa x ", "ILa x ",
                                                    "VCb x ", "ILb x ", "VLa x "};
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kAxes(0xFF, 0xFF, 0x00);

QPen DottedPen(const QColor& color) {
  QPen pen(color, 1);
  pen.setDashPattern({1, 1});
  return pen;
}

// Text placed by the top-left corner of its box, white on black.
void TextAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
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
  InitWindow(this, "TForm2", QStringLiteral("Time response"), 544, 375);
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
  const WaveformStore& store = state_.Store;
  const PlotRange& view = store.ViewRange;
  frame_ = FrameFor(width, height);
  mapping_ = MappingFor(frame_, view);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  painter.fillRect(0, 0, width, height, Qt::black);
  painter.drawRect(0, 0, width - 1, height - 1);
  if (!IsValid(mapping_)) return;  // a view without extent: nothing to map

  painter.setPen(DottedPen(kGrey));
  for (int c : GridColumns(view, mapping_)) painter.drawLine(c, frame_.top, c, frame_.bottom);
  for (int r : GridRows(view, mapping_)) painter.drawLine(frame_.left, r, frame_.right, r);

  painter.setPen(QPen(kAxes, 1));
  painter.drawLine(frame_.left, frame_.top, frame_.left, height - 20);
  painter.drawLine(frame_.left, height - 20, width - 10, height - 20);

  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::black);
  painter.setPen(Qt::white);
  const QFontMetrics metrics = painter.fontMetrics();
  const auto label = [](Real value, int width_chars) {
    return QString::fromStdString(FormatReal(value, width_chars, -1));
  };
  const QString top = label(view.ValueTop, 5);
  const QString bottom = label(view.ValueBottom, 5);
  const QString to = label(view.TimeTo, 12);
  TextAt(painter, frame_.left - metrics.horizontalAdvance(top) - 3, frame_.top, top);
  TextAt(painter, frame_.left - metrics.horizontalAdvance(bottom) - 3, frame_.bottom - metrics.height(),
         bottom);
  TextAt(painter, frame_.right - metrics.horizontalAdvance(to), frame_.bottom + 4, to);
  TextAt(painter, frame_.left, frame_.bottom + 4, label(view.TimeFrom, 12));
  for (int c = 0; c < kChannelCount; ++c) {
    if (!store.ShownChannels[c]) continue;
    painter.setPen(kTraceColors[c]);
    const int32_t factor = NearestInt(main_.Scales[c]->panel_real());
    TextAt(painter, 15, frame_.top + 20 + 15 * c,
           QString::fromLatin1(kLegendPrefixes[c]) + QString::fromStdString(FormatInt(factor)));
  }
  painter.setBackgroundMode(Qt::TransparentMode);

  if (main_.bdelref->isEnabled() && store.ReferenceCount > 0) {
    DrawTraces(painter, store.ReferenceCount, store.ReferenceTime, store.ReferenceChannels, true);
  }
  if (store.SampleCount > 0) DrawTraces(painter, store.SampleCount, store.Time, store.Channels, false);
}

void TForm2::DrawTraces(QPainter& painter, int32_t count, const std::vector<Real>& time,
                        const std::vector<Sample>& channels, bool reference) {
  count = std::min(count, kCapacity);
  QPolygon points(count);
  for (int c = 0; c < kChannelCount; ++c) {
    if (!state_.Store.ShownChannels[c]) continue;
    for (int32_t i = 0; i < count; ++i) {
      points[i] = QPoint(ClampX(mapping_.kx * time[i] + mapping_.bx, frame_),
                         ClampY(mapping_.ky * channels[i][c] + mapping_.by, frame_));
    }
    painter.setPen(reference ? QPen(kGrey, 2 * kTraceWidths[c]) : QPen(kTraceColors[c], kTraceWidths[c]));
    painter.drawPolyline(points);
  }
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
  if (!IsValid(mapping_)) return;  // nothing painted yet, or a view without extent
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
    WriteWholeFile(name, std::string_view(png.constData(), static_cast<size_t>(png.size())));
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
