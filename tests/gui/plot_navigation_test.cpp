#include <gtest/gtest.h>

#include <QPushButton>
#include <QStatusBar>

#include "app/program.h"
#include "gui_helpers.h"
#include "plot/plot_window.h"

using namespace kovaro;

namespace {

struct Navigated {
  Navigated() {
    p.Start();
    QTest::mouseClick(p.form1.Belements, Qt::LeftButton);
    QTest::mouseClick(p.form3.Bchange, Qt::LeftButton);
    QTest::mouseClick(p.form1.Bplot, Qt::LeftButton);
    Activate(&p.form2);
  }
  PlotRange& View() { return p.state->Store.ViewRange; }
  void SetView(Real from, Real to, Real bottom, Real top) {
    View() = {from, to, bottom, top};
    p.form2.Repaint();
  }
  void Keys(const char* keys) {
    for (const char* k = keys; *k != 0; ++k) QTest::keyClick(&p.form2, *k);
  }
  QWidget* Surface() { return p.form2.PaintBox1; }
  QString Status() { return p.form2.StatusBar1->currentMessage(); }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Surface(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Surface(), to);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, to);
  }
  Program p;
};

}  // namespace

TEST(PlotNavigation, KeysMoveAndScaleTheView) {
  Navigated w;
  w.SetView(0, 0.0001L, -100, 100);
  w.Keys(">");
  EXPECT_EQ(w.View().TimeFrom, 0.000025L);
  EXPECT_NEAR(w.View().TimeTo, 0.000125L, 1E-20L);
  w.Keys("<");  // back, up to the rounding of the decimal limits
  EXPECT_NEAR(w.View().TimeFrom, 0, 1E-20L);
  EXPECT_NEAR(w.View().TimeTo, 0.0001L, 1E-20L);
  const Real tick = 1.0L / 8192;  // binary limits come back exactly
  w.SetView(0, tick, -100, 100);
  w.Keys(">");
  EXPECT_EQ(w.View().TimeFrom, tick / 4);
  w.Keys("<");
  EXPECT_EQ(w.View().TimeFrom, 0);
  EXPECT_EQ(w.View().TimeTo, tick);
  w.Keys(".");  // the same keys without shift
  w.Keys(",");
  EXPECT_EQ(w.View().TimeTo, tick);
  w.Keys("a");
  EXPECT_EQ(w.View().TimeTo, tick / 2);
  w.Keys("r");
  EXPECT_EQ(w.View().TimeTo, tick);
  w.Keys("u");
  EXPECT_EQ(w.View().ValueBottom, -50);
  EXPECT_EQ(w.View().ValueTop, 150);
  w.Keys("+");
  EXPECT_EQ(w.View().ValueBottom, -75);
  EXPECT_EQ(w.View().ValueTop, 75);
  w.Keys("-");
  EXPECT_EQ(w.View().ValueTop, 150);
  EXPECT_EQ(w.View().ValueBottom, -150);
  w.Keys("d");
  EXPECT_EQ(w.View().ValueTop, 75);
  EXPECT_EQ(w.View().ValueBottom, -225);
  const PlotRange before = w.View();
  w.Keys("AUxq");  // case matters; other characters do nothing
  EXPECT_EQ(w.View().ValueTop, before.ValueTop);
  EXPECT_EQ(w.View().TimeTo, before.TimeTo);

  // Space returns exactly to the last run's limits.
  const PlotRange full = w.p.state->Store.FullRange;
  w.Drag({150, 100}, {300, 200});
  w.Keys(">u+a");
  QTest::keyClick(&w.p.form2, Qt::Key_Space);
  EXPECT_EQ(w.View().TimeFrom, full.TimeFrom);
  EXPECT_EQ(w.View().TimeTo, full.TimeTo);
  EXPECT_EQ(w.View().ValueBottom, full.ValueBottom);
  EXPECT_EQ(w.View().ValueTop, full.ValueTop);
}

TEST(PlotNavigation, ZoomBoxAndReadouts) {
  Navigated w;
  w.SetView(0, 0.0001L, -144, 144);  // one pixel per 1E-6 s... and per value unit
  const PlotMapping m = w.p.form2.Mapping();
  ASSERT_EQ(m.ky, -1);
  const int row_130 = static_cast<int>(m.by - 130);
  const int row_100 = static_cast<int>(m.by - 100);
  w.Drag({100, row_130}, {200, row_100});
  EXPECT_EQ(w.View().ValueTop, 130);
  EXPECT_EQ(w.View().ValueBottom, 100);
  EXPECT_EQ(w.View().TimeFrom, (100 - m.bx) / m.kx);
  EXPECT_EQ(w.View().TimeTo, (200 - m.bx) / m.kx);
  w.Keys("+");
  EXPECT_EQ(w.View().ValueTop, 65);
  EXPECT_EQ(w.View().ValueBottom, -65);

  // The pointer's time and value, as the status bar shows them: one pixel per microsecond
  // and per value unit.
  w.SetView(0, 0.000438L, -144, 144);
  Hover(w.Surface(), QPoint(92, 31));
  EXPECT_EQ(w.Status(), "t= 1.2E-0005 y=   123.00");
  EXPECT_EQ(PositionText(92, 154, PlotMapping{1E6L, 80, -1, 154 + 123.45L}), "t= 1.2E-0005 y=   123.45");

  // A click without a drag changes neither the view nor the status text.
  const QString status = w.Status();
  const PlotRange view = w.View();
  QTest::mouseClick(w.Surface(), Qt::LeftButton, {}, QPoint(300, 100));
  EXPECT_EQ(w.Status(), status);
  EXPECT_EQ(w.View().TimeTo, view.TimeTo);

  // Dragging to the left shows a negative width and does not zoom.
  QTest::mousePress(w.Surface(), Qt::LeftButton, {}, QPoint(300, 100));
  QTest::mouseMove(w.Surface(), QPoint(250, 150));
  EXPECT_TRUE(w.Status().startsWith("dt=-"));
  EXPECT_TRUE(w.Status().endsWith(" dy=    50.00"));  // dragged down: a positive height
  EXPECT_TRUE(w.p.form2.Box().dragging);
  QTest::mouseRelease(w.Surface(), Qt::LeftButton, {}, QPoint(250, 150));
  EXPECT_FALSE(w.p.form2.Box().dragging);
  EXPECT_EQ(w.View().TimeTo, view.TimeTo);
  EXPECT_EQ(w.View().ValueTop, view.ValueTop);
}

TEST(PlotNavigation, ZoomBoxIsDrawnOverThePictureWithoutRedrawingIt) {
  Navigated w;
  const QImage before = w.p.form2.PaintBox1->grab().toImage();
  QTest::mousePress(w.Surface(), Qt::LeftButton, {}, QPoint(100, 50));
  QTest::mouseMove(w.Surface(), QPoint(300, 250));
  const QImage during = w.p.form2.PaintBox1->grab().toImage();
  // Along the box's edges pixels are inverted; elsewhere the picture is as it was.
  int inverted = 0;
  for (int x = 100; x <= 300; ++x) inverted += during.pixel(x, 50) == (before.pixel(x, 50) ^ 0x00FFFFFF);
  EXPECT_GT(inverted, 80);
  EXPECT_EQ(during.pixel(200, 150), before.pixel(200, 150));
  EXPECT_EQ(during.pixel(50, 280), before.pixel(50, 280));
  QTest::mouseRelease(w.Surface(), Qt::LeftButton, {}, QPoint(300, 250));
}
