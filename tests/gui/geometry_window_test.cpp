#include "geometry/geometry_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// The number of the newest report line that starts with `label`, as printed.
QString PrintedText(const TForm1& form, const QString& label) {
  const QStringList lines =
      MemoLines(form).filter(QRegularExpression("^" + QRegularExpression::escape(label)));
  return lines.isEmpty() ? QString() : lines.last().mid(label.size()).split(' ', Qt::SkipEmptyParts).first();
}

Real Printed(const TForm1& form, const QString& label) { return PrintedText(form, label).toDouble(); }

bool IsTopLevel(const char* name) {
  for (const QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name)) return true;
  return false;
}

}  // namespace

TEST(GeometryWindow, CreatedOnFirstUseFromItsButton) {
  Program p;
  p.Start();
  EXPECT_EQ(p.form1.Bgeometry->geometry(), QRect(8, 296, 137, 25));
  EXPECT_EQ(p.form1.Bgeometry->text(), "Coil geometry");
  EXPECT_FALSE(IsTopLevel("TFgeometry"));
  Click(p.form1.Bgeometry);
  ASSERT_TRUE(p.geometry);
  EXPECT_TRUE(p.geometry->isVisible());
  EXPECT_EQ(p.geometry->windowTitle(), "Coil geometry");
  EXPECT_TRUE(IsTopLevel("TFgeometry"));
  // The topload's sizes follow its shape.
  EXPECT_TRUE(p.geometry->NEtd->isEnabled());
  QTest::mouseClick(p.geometry->RGtop->item(2), Qt::LeftButton);  // sphere: no tube
  EXPECT_FALSE(p.geometry->NEtd->isEnabled());
  EXPECT_TRUE(p.geometry->NEtD->isEnabled());
  QTest::mouseClick(p.geometry->RGtop->item(0), Qt::LeftButton);  // none
  EXPECT_FALSE(p.geometry->NEtD->isEnabled());
  TFgeometry* first = p.geometry.get();
  p.geometry->close();
  Click(p.form1.Bgeometry);
  EXPECT_EQ(p.geometry.get(), first);
  EXPECT_TRUE(first->isVisible());
}

// Geometry, "Send to designs", the lossless design, "Find primary": the primary it finds,
// calculated again, has the design's La and kab.
TEST(GeometryWindow, FromTheCoilThroughADesignToItsPrimary) {
  ScopedWorkDir dir;
  Program p;
  p.Start();
  Click(p.form1.Bgeometry);
  TFgeometry& g = *p.geometry;
  Click(g.Bcalc);
  const Real Lb = Printed(p.form1, "Lb=") * 0.001L;
  const Real Cb = Printed(p.form1, "Cb=") * 1e-12L;
  Click(g.Bsend);
  EXPECT_NEAR(p.flossless.NELb->panel_real() / Lb, 1, 1e-11L);
  EXPECT_NEAR(p.flossless.NECb->panel_real() / Cb, 1, 1e-11L);
  EXPECT_EQ(p.flossy.NELb1->panel_real(), p.flossless.NELb->panel_real());
  EXPECT_EQ(p.flossy.NECb1->panel_real(), p.flossless.NECb->panel_real());
  EXPECT_EQ(p.form4.NElb->text(), p.flossless.NELb->text());
  EXPECT_EQ(p.form4.NEcb->text(), p.flossless.NECb->text());

  Click(p.form1.Button3);
  Click(p.flossless.Blossless);
  const ElementSet design = p.state->Elements;
  ASSERT_GT(design.La, 0);
  Activate(&g);
  Click(g.Bfind);
  const QString turns = PrintedText(p.form1, "Primary turns for La=");
  const QString height = PrintedText(p.form1, "Primary height for kab=");
  EXPECT_NEAR(g.NEpn->text().toDouble(), turns.toDouble(), 1e-9);
  EXPECT_NEAR(g.NEph->text().toDouble(), height.toDouble(), 1e-9);

  // The printed values typed back in, as a builder would.
  Enter(g.NEpn, turns);
  Enter(g.NEph, height);
  Click(g.Bcalc);
  EXPECT_NEAR(Printed(p.form1, "La=") * 1e-6L / design.La, 1, 0.005L);
  EXPECT_NEAR(Printed(p.form1, "kab=") / design.kab, 1, 0.005L);
  EXPECT_EQ(p.state->Elements.La, design.La);  // the elements stay the design's
}

TEST(GeometryWindow, UseForElementsAndARefusedGeometry) {
  Program p;
  p.Start();
  Click(p.form1.Bgeometry);
  TFgeometry& g = *p.geometry;
  EXPECT_FALSE(p.form1.Bplot->isEnabled());
  Click(g.Buse);
  const ElementSet& e = p.state->Elements;
  EXPECT_GT(e.La, 0);
  EXPECT_EQ(p.form3.NEla->panel_real(), e.La);
  EXPECT_EQ(p.form3.NElb->panel_real(), e.Lb);
  EXPECT_EQ(p.form3.NEcb->panel_real(), e.Cb);
  EXPECT_EQ(p.form3.NEkab->panel_real(), e.kab);
  EXPECT_EQ(e.Ca, 0);
  EXPECT_TRUE(p.form1.Bplot->isEnabled());

  // A wire thicker than the winding's pitch: the box names the rule, nothing is written.
  const ElementSet before = e;
  const QString report = p.form1.Memo1->toPlainText();
  Enter(g.NEsw, "0.001");
  ErrorRecorder boxes;
  Click(g.Bcalc);
  Click(g.Buse);
  Click(g.Bsend);
  const std::string message =
      "Wire diameter (m) must not exceed the pitch of the winding, Winding height (m) / Turns.";
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{message, message, message}));
  EXPECT_EQ(p.form1.Memo1->toPlainText(), report);
  EXPECT_EQ(p.state->Elements.La, before.La);
  EXPECT_EQ(p.flossless.NELb->text(), "0.0282");
}

// The largest coil the window takes: the search shows the busy cursor while it works, and its
// primary, calculated again, couples as asked.
TEST(GeometryWindow, FindPrimaryOnTheLargestCoilShowsItIsBusy) {
  Program p;
  p.Start();
  Click(p.form1.Bgeometry);
  TFgeometry& g = *p.geometry;
  Enter(g.NEsn, "10000");
  Enter(g.NEsw, "0.00005");
  Enter(g.NEpn, "100");
  p.state->Elements.La = 1e-3L;
  p.state->Elements.kab = 0.08L;
  std::vector<bool> busy;
  QObject::connect(p.form1.Memo1, &QPlainTextEdit::textChanged, [&busy] {
    const QCursor* cursor = QApplication::overrideCursor();
    busy.push_back(cursor != nullptr && cursor->shape() == Qt::WaitCursor);
  });
  Click(g.Bfind);
  EXPECT_EQ(busy, (std::vector<bool>{true, true}));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  Click(g.Bcalc);
  EXPECT_NEAR(Printed(p.form1, "La=") * 1e-6L / 1e-3L, 1, 1e-9L);
  EXPECT_NEAR(Printed(p.form1, "kab="), 0.08L, 1e-9L);
}
