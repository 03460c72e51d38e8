// The paint against the straightforward drawing of the same store: every clamped sample of
// every shown channel in one polyline, the reference under the run with Qt's 2-pixel stroke.
// The run traces must match pixel for pixel; the reference, drawn as its own 2-pixel band,
// may differ only in reference pixels.

#include "plot/plot_paint.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdio>
#include <memory>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "simulation/run_host_fake.h"
#include "state/app_state.h"

using namespace kovaro;

namespace {

const QColor kTraceColors[kChannelCount] = {QColor(0xC0, 0xC0, 0xC0), QColor(0xFF, 0xFF, 0xFF),
                                            QColor(0xFF, 0xFF, 0x00), QColor(0xFF, 0x00, 0x00),
                                            QColor(0x00, 0xFF, 0x00), QColor(0x00, 0xFF, 0xFF)};
const QColor kGrey(0x80, 0x80, 0x80);
constexpr int kWidth = 528;
constexpr int kHeight = 318;

void Straightforward(QPainter& painter, const WaveformStore& store, int32_t count,
                     const std::vector<Real>& time, const std::vector<Sample>& channels, bool reference) {
  const PlotFrame frame = FrameFor(kWidth, kHeight);
  const PlotMapping m = MappingFor(frame, store.ViewRange);
  QPolygon points(count);
  for (int c = 0; c < kChannelCount; ++c) {
    if (!store.ShownChannels[c]) continue;
    for (int32_t i = 0; i < count; ++i)
      points[i] = QPoint(ClampX(m.kx * time[i] + m.bx, frame), ClampY(m.ky * channels[i][c] + m.by, frame));
    painter.setPen(reference ? QPen(kGrey, 2) : QPen(kTraceColors[c], 1));
    painter.drawPolyline(points);
  }
}

QImage Paint(WaveformStore& store, bool plain) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  const LegendScales scales{10, 1, 1000, 1, 1000, 10};
  if (!plain) {
    PaintPlot(painter, kWidth, kHeight, store, scales);
    return image;
  }
  // The picture without traces, then the traces drawn the plain way on top.
  const int32_t samples = store.SampleCount;
  const bool shown = store.ReferenceShown;
  store.SampleCount = 0;
  store.ReferenceShown = false;
  PaintPlot(painter, kWidth, kHeight, store, scales);
  store.SampleCount = samples;
  store.ReferenceShown = shown;
  if (shown)
    Straightforward(painter, store, store.ReferenceCount, store.ReferenceTime, store.ReferenceChannels, true);
  Straightforward(painter, store, samples, store.Time, store.Channels, false);
  return image;
}

// Differing pixels: all, and those not explained by the reference band (grey in one picture,
// the background or the reference's neighbourhood in the other).
std::pair<int, int> Differences(const QImage& a, const QImage& b) {
  int all = 0, unexplained = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (p == q) continue;
      ++all;
      if (p != kGrey && q != kGrey) ++unexplained;
    }
  }
  return {all, unexplained};
}

}  // namespace

TEST(PlotPaintExactness, RunTracesPixelForPixelAndTheReferenceAsABand) {
  struct View {
    const char* name;
    const char* keys;
  };
  const View views[] = {{"full", ""},
                        {"zoomed", "++aa"},
                        {"shifted", ">>uu"},
                        {"inverted", "dddddd+"},
                        {"ringing", "++++++++++++"}};
  for (Real lb : {0.0358L, 1e-10L}) {
    auto state = std::make_unique<AppState>();
    state->Elements = ElementSet{2.72E-8L, 1.05E-5L, 0.0358L, 7.86E-12L, 573000, 0.117L, 0, 0, 0};
    SimulationSettings s;
    s.Points = 50000;
    RecordingHost host;
    RunSimulation(*state, s, host);  // the reference: the defaults' run
    SaveReference(state->Store);
    state->Elements.Lb = lb;
    s.VinWaveform = Waveform::Sine;
    RunSimulation(*state, s, host);
    WaveformStore& store = state->Store;
    for (const View& view : views) {
      store.ViewRange = store.FullRange;
      for (const char* k = view.keys; *k != 0; ++k) ApplyKey(*k, store.ViewRange, store.FullRange);
      for (bool reference : {false, true}) {
        store.ReferenceShown = reference;
        const QImage plain = Paint(store, true);
        const auto [all, unexplained] = Differences(Paint(store, false), plain);
        if (reference) {
          int grey = 0;
          for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) grey += plain.pixelColor(x, y) == kGrey;
          std::printf("Lb %g, %s view: %d of %d reference pixels differ from Qt's 2-pixel stroke\n",
                      static_cast<double>(lb), view.name, all, grey);
          EXPECT_EQ(unexplained, 0) << view.name;
        } else {
          EXPECT_EQ(all, 0) << view.name << " Lb " << static_cast<double>(lb);
        }
      }
    }
  }
}

// A ringing 50000-sample reference under its run, zoomed into with the keys as a user does:
// each "+" paints again (Qt's stroker used to take seconds for each of these pictures).
TEST(PlotPaintExactness, ZoomingIntoARingingReferenceWithTheKeys) {
  Program p;
  p.Start();
  Click(p.form1.Belements);
  Enter(p.form3.NElb, "1E-10");
  Click(p.form3.Bchange);
  Enter(p.form1.NEpontos, "50000");
  Click(p.form1.Bplot);
  Click(p.form1.bref);
  Activate(&p.form2);
  for (int i = 0; i < 12; ++i) QTest::keyClick(&p.form2, '+');
  const QImage picture = p.form2.PaintBox1->grab().toImage();
  int traced = 0;  // the middle row of the plot area, crossed by the ringing traces
  for (int x = 81; x < picture.width() - 10; ++x) traced += picture.pixelColor(x, 150) != Qt::black;
  EXPECT_GT(traced, 100);
  EXPECT_EQ(p.state->Store.ViewRange.ValueTop, p.state->Store.FullRange.ValueTop / 4096);
}
