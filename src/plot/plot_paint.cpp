#include "plot/plot_paint.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

#include "plot/polyline.h"
#include "shell/format.h"

namespace kovaro {
namespace {

const QColor kTraceColors[kChannelCount] = {QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xFF, 0xFF),
                                            QColor(0xFF, 0xFF, 0x00), QColor(0xFF, 0x00, 0x00),
                                            QColor(0x00, 0xFF, 0x00), QColor(0x00, 0xFF, 0xFF)};
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

// The traces of the shown channels: one polyline each, 1 pixel wide, or a grey band of 2
// pixels for the reference. The time column of a sample is mapped once for all channels, and
// each polyline leaves out the points that change none of its pixels.
void DrawTraces(QPainter& painter, const PlotFrame& frame, const PlotMapping& mapping, int32_t count,
                const std::vector<Real>& time, const std::vector<Sample>& channels,
                const std::array<bool, kChannelCount>& shown, bool reference) {
  count = std::min(count, kCapacity);
  std::vector<int32_t> columns(count);
  for (int32_t i = 0; i < count; ++i) columns[i] = PixelX(time[i], mapping, frame);
  std::vector<Pixel> points(count);
  QList<QLine> beside;
  for (int c = 0; c < kChannelCount; ++c) {
    if (!shown[c]) continue;
    points.resize(count);
    for (int32_t i = 0; i < count; ++i) points[i] = {columns[i], PixelY(channels[i][c], mapping, frame)};
    ReducePolyline(points);
    QPolygon polygon(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
      polygon[static_cast<int>(i)] = QPoint(points[i].x, points[i].y);
    painter.setPen(QPen(reference ? kGrey : kTraceColors[c], 1));
    painter.drawPolyline(polygon);
    if (!reference) continue;
    // The band's second pixel: each segment again one column to the left where it is steep,
    // one row up where it is flat, where Qt's 2-pixel stroke of a line lies too. (Qt's stroker
    // needs seconds for a ringing reference's overlapping segments.)
    beside.clear();
    for (size_t i = 1; i < points.size(); ++i) {
      const QPoint a(points[i - 1].x, points[i - 1].y);
      const QPoint b(points[i].x, points[i].y);
      const QPoint shift = std::abs(b.y() - a.y()) >= std::abs(b.x() - a.x()) ? QPoint(-1, 0) : QPoint(0, -1);
      beside.append(QLine(a + shift, b + shift));
    }
    painter.drawLines(beside);
  }
}

}  // namespace

PlotMapping PaintPlot(QPainter& painter, int width, int height, const WaveformStore& store,
                      const LegendScales& scales) {
  const PlotRange& view = store.ViewRange;
  const PlotFrame frame = FrameFor(width, height);
  const PlotMapping mapping = MappingFor(frame, view);
  const bool mapped = IsValid(mapping);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  painter.fillRect(0, 0, width, height, Qt::black);
  painter.drawRect(0, 0, width - 1, height - 1);

  if (mapped) {
    painter.setPen(DottedPen(kGrey));
    for (int c : GridColumns(view, mapping)) painter.drawLine(c, frame.top, c, frame.bottom);
    for (int r : GridRows(view, mapping)) painter.drawLine(frame.left, r, frame.right, r);
  }

  // The axes, limit labels and legend need no mapping: a view without extent keeps them.
  painter.setPen(QPen(kAxes, 1));
  painter.drawLine(frame.left, frame.top, frame.left, frame.bottom);
  painter.drawLine(frame.left, frame.bottom, frame.right, frame.bottom);

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
  TextAt(painter, frame.left - metrics.horizontalAdvance(top) - 3, frame.top, top);
  TextAt(painter, frame.left - metrics.horizontalAdvance(bottom) - 3, frame.bottom - metrics.height(),
         bottom);
  TextAt(painter, frame.right - metrics.horizontalAdvance(to), frame.bottom + 4, to);
  TextAt(painter, frame.left, frame.bottom + 4, label(view.TimeFrom, 12));
  for (int c = 0; c < kChannelCount; ++c) {
    if (!store.ShownChannels[c]) continue;
    painter.setPen(kTraceColors[c]);
    TextAt(painter, 15, frame.top + 20 + 15 * c,
           QString::fromLatin1(kLegendPrefixes[c]) + QString::fromStdString(LegendFactor(scales[c])));
  }
  painter.setBackgroundMode(Qt::TransparentMode);
  if (!mapped) return mapping;

  if (store.ReferenceShown && store.ReferenceCount > 0) {
    DrawTraces(painter, frame, mapping, store.ReferenceCount, store.ReferenceTime, store.ReferenceChannels,
               store.ShownChannels, true);
  }
  if (store.SampleCount > 0)
    DrawTraces(painter, frame, mapping, store.SampleCount, store.Time, store.Channels, store.ShownChannels,
               false);
  return mapping;
}

}  // namespace kovaro
