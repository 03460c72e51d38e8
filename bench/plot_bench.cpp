// Drawing the plot of a 50000-point run, six channels, with and without a 50000-point
// reference underneath, and a ringing run over its ringing reference zoomed in on the values;
// and the chart of a 10000-point sweep.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <memory>
#include <vector>

#include "plot/plot_paint.h"
#include "state/app_state.h"
#include "sweep/sweep_chart.h"

using namespace kovaro;

namespace {

// The element window's and the main window's defaults, 50000 points; `lb` for the secondary.
// A ringing run (Lb 1e-10) seen after twelve "+" rings from edge to edge of the plot.
void Paint(benchmark::State& bench, bool reference, Real lb = 0.0358L, int32_t zooms = 0) {
  auto state = std::make_unique<AppState>();
  state->Elements = ElementSet{2.72E-8L, 1.05E-5L, lb, 7.86E-12L, 573000, 0.117L, 0, 0, 0};
  SimulationSettings s;
  s.Points = 50000;
  QuietRun(state->Elements, s, state->Target());
  if (reference) {
    SaveReference(state->Store);
    state->Store.ReferenceShown = true;
  }
  for (int32_t i = 0; i < zooms; ++i) ApplyKey('+', state->Store.ViewRange, state->Store.FullRange);
  QImage image(528, 318, QImage::Format_RGB32);
  QFont font(QStringLiteral("Arial"), 8);
  for (auto _ : bench) {
    QPainter painter(&image);
    painter.setFont(font);
    PaintPlot(painter, image.width(), image.height(), state->Store, s.Scale);
  }
}

// A 10000-point sweep's chart, its points replaced, then painted: what one redraw costs while
// a sweep runs, and why the window redraws only a few times a second.
void BM_SweepChart10000(benchmark::State& bench) {
  SweepChart chart(nullptr);
  chart.resize(720, 454);
  const SweepRange range{1e-9L, 2e-9L, 10000};
  std::vector<SweepPoint> points(10000);
  for (int32_t i = 0; i < 10000; ++i) {
    points[static_cast<size_t>(i)].value = SweepValue(range, i);
    points[static_cast<size_t>(i)].maxima[StVCb].Value = 40000 + 20000 * std::sin(i * 0.01L);
    points[static_cast<size_t>(i)].summary = {200 + 100 * std::sin(i * 0.01L),
                                              0.8L + 0.1L * std::cos(i * 0.003L)};
  }
  QImage image(720, 454, QImage::Format_RGB32);
  for (auto _ : bench) {
    chart.Show(SweptQuantity::Ca, range, points);
    QPainter painter(&image);
    chart.render(&painter);
  }
}

void BM_PaintRun(benchmark::State& bench) { Paint(bench, false); }
void BM_PaintRunOverReference(benchmark::State& bench) { Paint(bench, true); }
void BM_PaintRingingOverReferenceZoomed(benchmark::State& bench) { Paint(bench, true, 1e-10L, 12); }

}  // namespace

BENCHMARK(BM_PaintRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRunOverReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRingingOverReferenceZoomed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepChart10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
