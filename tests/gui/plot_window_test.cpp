#include "plot/plot_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"

using namespace kovaro;

namespace {

const QColor kYellow(0xFF, 0xFF, 0x00);
const QColor kGrey(0x80, 0x80, 0x80);
const QColor kRed(0xFF, 0x00, 0x00);

// A program after a first run of the element window's values.
struct Plotted {
  Plotted() {
    p.Start();
    Click(p.form1.Belements);
    Click(p.form3.Bchange);
    Click(p.form1.Bplot);
    Activate(&p.form2);
  }
  QImage Picture() { return p.form2.PaintBox1->grab().toImage(); }
  PlotRange& View() { return p.state->Store.ViewRange; }
  void SetView(Real from, Real to, Real bottom, Real top) {
    View() = {from, to, bottom, top};
    p.form2.Repaint();
  }
  void Key(char key) { QTest::keyClick(&p.form2, key); }
  QString Status() { return p.form2.StatusBar1->currentMessage(); }
  Program p;
};

// How many pixels of a column (rows top..bottom) or of a row have the colour.
int CountInColumn(const QImage& image, int x, int top, int bottom, const QColor& color) {
  int n = 0;
  for (int y = top; y <= bottom; ++y) n += image.pixelColor(x, y) == color;
  return n;
}
int CountInRow(const QImage& image, int y, int left, int right, const QColor& color) {
  int n = 0;
  for (int x = left; x <= right; ++x) n += image.pixelColor(x, y) == color;
  return n;
}

// The legend row of a channel as it should look: the text in its colour on black.
QImage LegendAlone(const QWidget& surface, const QString& text, const QColor& color, int row) {
  QImage image(surface.size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  painter.setFont(surface.font());
  painter.setPen(color);
  painter.drawText(QPoint(15, row + painter.fontMetrics().ascent()), text);
  return image;
}

bool SameRegion(const QImage& a, const QImage& b, const QRect& region) {
  for (int y = region.top(); y <= region.bottom(); ++y) {
    for (int x = region.left(); x <= region.right(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) return false;
    }
  }
  return true;
}

}  // namespace

TEST(PlotPaint, FrameAxesAndGrid) {
  Plotted w;
  ASSERT_EQ(w.p.form2.PaintBox1->size(), QSize(528, 318));
  QImage image = w.Picture();
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));  // outline
  EXPECT_EQ(image.pixelColor(527, 317), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(80, 298), kYellow);  // the axes meet
  EXPECT_EQ(image.pixelColor(80, 10), kYellow);
  EXPECT_EQ(image.pixelColor(518, 298), kYellow);
  EXPECT_EQ(image.pixelColor(519, 299), QColor(Qt::black));

  w.SetView(0, 0.000045L, -150000, 150000);
  image = w.Picture();
  const PlotMapping& m = w.p.form2.Mapping();
  EXPECT_EQ(m.kx * 0 + m.bx, 80);
  EXPECT_EQ(m.ky * 150000 + m.by, 10);
  EXPECT_EQ(m.ky * -150000 + m.by, 298);
  // Time grid at 0, 1E-5 ... 4E-5 (the first on the value axis); value grid at -1E5, 0, 1E5.
  EXPECT_EQ(GridColumns(w.View(), m), (std::vector<int32_t>{80, 177, 275, 372, 469}));
  EXPECT_EQ(GridRows(w.View(), m), (std::vector<int32_t>{250, 154, 58}));
  for (int c : {177, 275, 372, 469}) EXPECT_GT(CountInColumn(image, c, 11, 297, kGrey), 100) << c;
  for (int r : {250, 58}) EXPECT_GT(CountInRow(image, r, 81, 517, kGrey), 150) << r;
  EXPECT_LE(CountInColumn(image, 200, 11, 297, kGrey), 3);  // only where the rows cross

  w.SetView(0, 0.0001L, -1, 1);
  EXPECT_EQ(GridColumns(w.View(), w.p.form2.Mapping()), std::vector<int32_t>{80});
  w.SetView(0, 0.00009L, -1, 1);
  EXPECT_EQ(GridColumns(w.View(), w.p.form2.Mapping()).size(), 9u);
}

TEST(PlotPaint, LegendShowsRoundedFactorsOfShownChannels) {
  Plotted w;
  w.p.form1.Scales[VCa]->setPanelReal(2.5L);
  w.p.form2.Repaint();
  QImage image = w.Picture();
  const QRect row_vca(15, 45, 60, 12);
  EXPECT_TRUE(SameRegion(image, LegendAlone(*w.p.form2.PaintBox1, "VCa x 2", Qt::white, 45), row_vca));
  const QRect row_ila(15, 60, 60, 12);
  EXPECT_TRUE(SameRegion(image, LegendAlone(*w.p.form2.PaintBox1, "ILa x 1000", kYellow, 60), row_ila));
  w.p.form1.Scales[VCa]->setPanelReal(0.5L);
  w.p.form2.Repaint();
  EXPECT_TRUE(SameRegion(w.Picture(), LegendAlone(*w.p.form2.PaintBox1, "VCa x 0", Qt::white, 45), row_vca));
  w.p.form1.Scales[VCa]->setPanelReal(1E10L);  // beyond 32 bits: the general text
  w.p.form2.Repaint();
  EXPECT_TRUE(SameRegion(w.Picture(), LegendAlone(*w.p.form2.PaintBox1, "VCa x 10000000000", Qt::white, 45),
                         QRect(15, 45, 120, 12)));

  // A channel hidden at the run leaves its row empty; the others keep their rows.
  w.p.form1.Shown[VCa]->setChecked(false);
  Click(w.p.form1.Bplot);
  w.SetView(0, 0.0001L, 1E9L, 2E9L);  // traces out of the way, along the bottom edge
  image = w.Picture();
  const auto lit = [&](int top) {  // pixels of the legend row that are not black
    int n = 0;
    for (int y = top; y < top + 12; ++y) n += 60 - CountInRow(image, y, 15, 74, Qt::black);
    return n;
  };
  EXPECT_EQ(lit(45), 0);
  EXPECT_GT(lit(30), 20);
  EXPECT_GT(lit(60), 20);
}

TEST(PlotPaint, TracesAreClampedToThePlotArea) {
  Plotted w;
  for (int c = 0; c < kChannelCount; ++c) w.p.form1.Shown[c]->setChecked(c == VCb);
  Click(w.p.form1.Bplot);
  // Values far above the view run along the top edge.
  w.SetView(0, 0.0001L, -2E6L, -1E6L);
  const QImage image = w.Picture();
  EXPECT_GE(CountInRow(image, 10, 81, 518, kRed), 430);
  // A view that ends after the last sample leaves the rest of the plot empty.
  w.SetView(0, 0.0002L, -1E6L, 1E6L);
  const QImage longer = w.Picture();
  EXPECT_GT(CountInColumn(longer, 200, 11, 297, kRed), 0);
  EXPECT_EQ(CountInColumn(longer, 400, 11, 297, kRed), 0);

  // A single sample draws nothing of the trace.
  w.p.state->Store.SampleCount = 1;
  w.p.form2.Repaint();
  const QImage one = w.Picture();
  EXPECT_EQ(CountInRow(one, 10, 81, 517, kRed) + CountInRow(one, 298, 81, 517, kRed), 0);
}

TEST(PlotPaint, ReferenceInGreyWhileShown) {
  Plotted w;
  Click(w.p.form1.bref);
  w.p.form1.NEpontos->setPanelInt(2000);
  w.p.form1.NEtmax->setPanelReal(0.00002L);
  Click(w.p.form1.Bplot);
  EXPECT_EQ(w.p.state->Store.ReferenceCount, 10000);
  EXPECT_EQ(w.p.state->Store.SampleCount, 2000);
  // The view covers 20 us; the reference runs on beyond it, along the right edge.
  const auto grey = [&] {
    w.p.form2.Repaint();
    const QImage image = w.Picture();
    int n = 0;
    for (int y = 11; y < 298; ++y) n += CountInRow(image, y, 81, 518, kGrey);
    return n;
  };
  const int with_reference = grey();
  Click(w.p.form1.bdelref);
  const int without = grey();
  EXPECT_GT(with_reference, without + 500);
  // Saved again, the reference is the last run itself: its wider grey lines show beside the
  // run's traces.
  Click(w.p.form1.bref);
  EXPECT_GT(grey(), without + 500);
}

TEST(PlotPaint, AViewWithoutExtentKeepsAxesAndLabelsAndClearsTheReadout) {
  Plotted w;
  Hover(w.p.form2.PaintBox1, QPoint(200, 150));
  EXPECT_FALSE(w.Status().isEmpty());
  // "Use maximum" with an overflowing maximum: the value span is not finite.
  w.p.form1.CBescala->setChecked(true);
  w.p.form1.NEvmax->setPanelReal(9E4931L);
  Click(w.p.form1.Bplot);
  const QImage image = w.Picture();
  EXPECT_TRUE(w.Status().isEmpty());
  EXPECT_EQ(CountInColumn(image, 80, 10, 298, kYellow), 289);  // value axis
  EXPECT_EQ(CountInRow(image, 298, 80, 518, kYellow), 439);    // time axis
  int label = 0;  // the final time's label below the time axis at its right end
  for (int y = 300; y < 317; ++y) label += 119 - CountInRow(image, y, 400, 518, Qt::black);
  EXPECT_GT(label, 20);
  EXPECT_EQ(CountInRow(image, 150, 81, 517, kRed), 0);  // no trace
  Hover(w.p.form2.PaintBox1, QPoint(200, 150));
  EXPECT_TRUE(w.Status().isEmpty());
}

TEST(PlotPaint, InvertedAndEmptyViews) {
  Plotted w;
  ErrorRecorder boxes;
  w.SetView(0, 0.0001L, -100, 100);
  for (int i = 0; i < 6; ++i) w.Key('d');
  w.Key('+');
  EXPECT_GT(w.View().ValueBottom, w.View().ValueTop);
  EXPECT_GT(w.p.form2.Mapping().ky, 0);  // larger values lower
  EXPECT_TRUE(GridRows(w.View(), w.p.form2.Mapping()).empty());
  EXPECT_EQ(CountInRow(w.Picture(), 154, 81, 517, kGrey), 0);

  // A run whose four state variables stay 0 leaves value limits of 0 (its report then stops
  // at the energy ratio); the plot keeps its axes (the value axis from the top row of the
  // frame to the time axis) and labels, draws no trace, and shows no box.
  w.p.form1.NEvin->setPanelReal(0);
  Click(w.p.form1.Bplot);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Invalid floating point operation."});
  EXPECT_EQ(w.View().ValueTop, 0);
  w.p.form2.Repaint();
  QImage image = w.Picture();
  EXPECT_EQ(CountInColumn(image, 80, 10, 298, kYellow), 289);
  EXPECT_EQ(CountInRow(image, 150, 1, 526, Qt::black), 525);
  EXPECT_EQ(image.pixelColor(0, 150), QColor(Qt::white));
  // A completed run with a fixed maximum of 0 shows the plot window with the same picture.
  w.p.form1.NEvin->setPanelReal(180);
  w.p.form1.CBescala->setChecked(true);
  w.p.form1.NEvmax->setPanelReal(0);
  Click(w.p.form1.Bplot);
  image = w.Picture();
  EXPECT_EQ(CountInRow(image, 150, 1, 526, Qt::black), 525);
  QTest::mouseMove(w.p.form2.PaintBox1, QPoint(200, 150));
  EXPECT_EQ(boxes.texts.size(), 1u);
}
