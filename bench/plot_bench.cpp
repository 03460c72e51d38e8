// Drawing the plot of a 50000-point run, six channels, with and without a 50000-point
// reference underneath.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "shell/nedit.h"
#include "shell/program.h"

using namespace kovaro;

namespace {

void Paint(benchmark::State& bench, bool reference) {
  Program p;
  p.form3.BchangeClick();
  p.form1.NEpontos->setPanelInt(50000);
  p.form1.BplotClick();
  if (reference) p.form1.brefClick();
  QImage image(528, 318, QImage::Format_RGB32);
  for (auto _ : bench) {
    QPainter painter(&image);
    p.form2.PaintBox1Paint(painter, image.width(), image.height());
  }
}

void BM_PaintRun(benchmark::State& bench) { Paint(bench, false); }
void BM_PaintRunOverReference(benchmark::State& bench) { Paint(bench, true); }

}  // namespace

BENCHMARK(BM_PaintRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRunOverReference)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
