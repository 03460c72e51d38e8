#include "geometry/geometry_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/program.h"
#include "frequency/response.h"
#include "geometry/measured_coils.h"
#include "geometry/mode_chart.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
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

// Every measured coil typed in inches, as a builder's notes give it, reports as typed in
// metres: the report stays in SI and the unit only changes what the fields show.
TEST(GeometryWindow, InchesGiveTheReportOfMetres) {
  Program p;
  p.Start();
  Click(p.form1.Bgeometry);
  TFgeometry& g = *p.geometry;
  QTest::mouseClick(g.RGtop->item(0), Qt::LeftButton);  // bare coils
  const auto report = [&](LengthUnit unit, const Secondary& s) {
    g.CBunit->setCurrentIndex(static_cast<int>(unit));
    const Real per = MetresPer(unit);
    Enter(g.NEsd, QString::fromStdString(GeneralText(s.diameter / per)));
    Enter(g.NEsh, QString::fromStdString(GeneralText(s.height / per)));
    Enter(g.NEsn, QString::fromStdString(GeneralText(s.turns)));
    Enter(g.NEsw, QString::fromStdString(GeneralText(s.wire / per)));
    Enter(g.NEsb, QString::fromStdString(GeneralText(s.base / per)));
    Enter(g.NEpr, QString::fromStdString(GeneralText((s.diameter / 2 + 0.05L) / per)));  // clear of the coil
    for (TNEdit* field : {g.NEps, g.NEpw, g.NEph}) Enter(field, field->text());          // as shown
    const qsizetype before = MemoLines(p.form1).size();
    ErrorRecorder boxes;  // a coil the window refuses is refused alike
    Click(g.Bcalc);
    QStringList lines = MemoLines(p.form1).mid(before);
    for (const std::string& box : boxes.texts) lines.append(QString::fromStdString(box));
    return lines;
  };
  for (const MeasuredCoil& m : kCoils) {
    const QStringList metres = report(LengthUnit::Metre, m.coil);
    ASSERT_GE(metres.size(), 1) << m.builder;
    EXPECT_EQ(report(LengthUnit::Inch, m.coil), metres) << m.builder;
    EXPECT_EQ(report(LengthUnit::Millimetre, m.coil), metres) << m.builder;
  }
  // The unit converts what is shown, and names itself in the labels and refusals.
  g.CBunit->setCurrentIndex(static_cast<int>(LengthUnit::Metre));
  Enter(g.NEsd, "0.254");
  g.CBunit->setCurrentIndex(static_cast<int>(LengthUnit::Inch));
  EXPECT_EQ(g.NEsd->text(), "10");
  EXPECT_EQ(g.NEsd->caption(), "Diameter (in)");
  // A gauge fills the wire's diameter: AWG 4 is 0.2043 in.
  g.CBawg->setCurrentIndex(0);
  QTest::keyClick(g.CBawg, Qt::Key_Down);  // "4"
  EXPECT_EQ(g.NEsw->text().left(6), "0.2043");
}

// The default coil with its toroid: the topload adds less on the coil than alone, Cb holds
// what it adds there, the elements resonate at the loaded resonance, and the first mode along
// the winding is drawn.
TEST(GeometryWindow, TheLoadedResonanceFromTheFieldSolve) {
  Program p;
  p.Start();
  Click(p.form1.Bgeometry);
  TFgeometry& g = *p.geometry;
  Click(g.Bcalc);
  const Real isolated = Printed(p.form1, "Topload capacitance=");
  const Real on_coil = Printed(p.form1, "Topload capacitance on the coil=");
  const Real self = Printed(p.form1, "Secondary self-capacitance=");
  const Real cb = Printed(p.form1, "Cb=");
  const Real loaded = Printed(p.form1, "Loaded secondary resonance=");
  EXPECT_GT(on_coil, 0);
  EXPECT_LT(on_coil, isolated);
  EXPECT_NEAR(cb, self + on_coil, 2e-10L);
  EXPECT_EQ(g.Modes->Voltage->count(), 41);
  EXPECT_EQ(g.Modes->Current->count(), 40);

  Click(g.Buse);
  const ElementSet& e = p.state->Elements;
  EXPECT_NEAR(1 / (2 * kPi * std::sqrt(e.Lb * e.Cb)) / 1000 / loaded, 1, 1e-10L);
  // A primary tuned to it: the circuit's two modes stand either side of the loaded resonance,
  // and a run at it completes.
  p.form3.NEca->setPanelReal(1 / (4 * kPi * kPi * loaded * loaded * 1e6L * e.La));
  Click(p.form3.Bchange);
  p.form1.NEfin->setPanelReal(loaded * 1000);
  Click(p.form1.Bfrequency);
  Click(p.frequency->Bfplot);
  const std::vector<Mode> modes = NaturalModes(BuildCircuit(p.state->Elements, true));
  EXPECT_LT(modes[0].f, loaded * 1000);
  EXPECT_GT(modes[1].f, loaded * 1000);
  const qsizetype before = MemoLines(p.form1).size();
  Click(p.form1.Bplot);
  EXPECT_TRUE(MemoLines(p.form1).mid(before).filter(QRegularExpression("^Maximum VCb")).size() == 1);
}
