#include "frequency/frequency_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineSeries>
#include <filesystem>
#include <fstream>

#include "app/program.h"
#include "frequency/frequency_chart.h"
#include "gui_helpers.h"
#include "shell/file_limit.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// Runs an action with /sys, which refuses new files even to root, as the working directory.
template <class Action>
void InRefusingDirectory(Action action) {
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path("/sys");
  action();
  std::filesystem::current_path(old);
}

}  // namespace

TEST(FrequencyWindow, OpensAroundTheModesAndPlotsThem) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  EXPECT_EQ(p.form1.Bfrequency->geometry(), QRect(8, 328, 137, 25));
  EXPECT_FALSE(p.frequency);
  Click(p.form1.Bfrequency);
  ASSERT_TRUE(p.frequency);
  TFfrequency& w = *p.frequency;
  EXPECT_EQ(w.windowTitle(), "Frequency response");
  EXPECT_EQ(w.NEflo->text(), "186000");
  EXPECT_EQ(w.NEfhi->text(), "465000");
  EXPECT_EQ(w.NEfpts->text(), "1000");

  const qsizetype before = MemoLines(p.form1).size();
  Click(w.Bfplot);
  const QStringList report = MemoLines(p.form1).mid(before);
  ASSERT_EQ(report.size(), 5);
  EXPECT_EQ(report.mid(0, 4), (QStringList{"", "Natural modes:", "Mode 1: f=   279182.27474 Hz, no damping",
                                           "Mode 2: f=   309364.14228 Hz, no damping"}));
  EXPECT_TRUE(report[4].startsWith("Largest gain=")) << report[4].toStdString();
  EXPECT_EQ(w.Chart->Gain->count(), 1000);
  EXPECT_EQ(w.Chart->Impedance->count(), 1000);
  const QPointF middle = w.Chart->chart()->plotArea().center();
  Hover(w.Chart->viewport(), middle.toPoint());
  EXPECT_TRUE(w.Readout->text().startsWith("f=")) << w.Readout->text().toStdString();

  // A range the user typed stays while the elements stay; new elements centre it again.
  Enter(w.NEflo, "200000");
  w.close();
  Click(p.form1.Bfrequency);
  EXPECT_EQ(w.NEflo->text(), "200000");
  w.close();
  Enter(p.form3.NEca, "2.5E-9");
  Click(p.form3.Bchange);
  Click(p.form1.Bfrequency);
  EXPECT_NE(w.NEflo->text(), "200000");

  ErrorRecorder boxes;
  Enter(w.NEfhi, "100");
  Click(w.Bfplot);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"To (Hz) must be greater than From (Hz)"});
}

TEST(FrequencyWindow, ExportsTheNetlistAndTheTimePlotPicture) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bfrequency);
  Click(p.frequency->Bnetlist);
  EXPECT_EQ(MemoLines(p.form1).last(), "Netlist saved as tb373941.cir");
  std::ifstream netlist("tb373941.cir");
  std::string title;
  std::getline(netlist, title);
  EXPECT_EQ(title, "* Kovaro tb373941");

  Click(p.form1.Bplot);
  ASSERT_TRUE(p.form2.isVisible());
  Activate(&p.form2);
  QTest::keyClick(&p.form2, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(MemoLines(p.form1).last(), "Picture saved as tb373941.png");
  const QImage saved(QStringLiteral("tb373941.png"));
  const QImage shown = p.form2.PaintBox1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), shown);

  ErrorRecorder boxes;
  InRefusingDirectory([&] {
    QTest::keyClick(&p.form2, Qt::Key_S, Qt::ControlModifier);
    Activate(p.frequency.get());
    Click(p.frequency->Bnetlist);
  });
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"Cannot write tb373941.png: File access denied.",
                                                   "Cannot write tb373941.cir: File access denied."}));

  // A picture that fails halfway leaves the one saved before.
  const std::string before = ReadFile("tb373941.png");
  {
    const FileSizeLimit full(1000);
    QTest::keyClick(&p.form2, Qt::Key_S, Qt::ControlModifier);
  }
  EXPECT_EQ(boxes.texts.back(), "Cannot write tb373941.png: I/O error 27.");
  EXPECT_EQ(ReadFile("tb373941.png"), before);
}

TEST(FrequencyWindow, TheReadoutIsShortOverAnyRange) {
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bfrequency);
  TFfrequency& w = *p.frequency;
  Enter(w.NEflo, "1");
  Enter(w.NEfhi, "1e30");
  Click(w.Bfplot);
  const QRectF area = w.Chart->chart()->plotArea();
  Hover(w.Chart->viewport(), QPoint(static_cast<int>(area.right()) - 2, static_cast<int>(area.center().y())));
  EXPECT_TRUE(QRegularExpression(R"(^f=[0-9.]+E2[0-9] Hz   gain=-?[0-9.]+ dB \(-?[0-9.]+\x{00B0}\)   )"
                                 R"(\|Zin\|=[0-9.]+E2[0-9] ohm \(-?[0-9.]+\x{00B0}\)$)")
                  .match(w.Readout->text())
                  .hasMatch())
      << w.Readout->text().toStdString();
}

// Every element beyond the range of doubles, up and down, or 0: "Plot" completes or ends with
// its fault, with nothing reported then, and the chart stays readable. (Without coupling the
// gain is 0, which has no place on the dB axis.)
TEST(FrequencyWindow, ElementsOfAnySizeKeepTheChartReadable) {
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bfrequency);
  TFfrequency& w = *p.frequency;
  const ElementSet design = p.state->Elements;
  Real* const elements[] = {&p.state->Elements.Ca,  &p.state->Elements.La,  &p.state->Elements.Lb,
                            &p.state->Elements.Cb,  &p.state->Elements.Rb,  &p.state->Elements.kab,
                            &p.state->Elements.RLa, &p.state->Elements.RLb, &p.state->Elements.Rin};
  int plotted = 0;
  for (Real* element : elements) {
    for (const Real value : {1e308L, 1e400L, 1e-400L, 0.0L}) {
      p.state->Elements = design;
      *element = value;
      ErrorRecorder boxes;
      const qsizetype before = MemoLines(p.form1).size();
      Click(w.Bfplot);
      const std::string label = std::to_string(element - elements[0]) + " " + GeneralText(value);
      if (boxes.texts.empty()) {
        ++plotted;
        ExpectDrawable(w.Chart, label);
      } else {
        EXPECT_EQ(MemoLines(p.form1).size(), before) << label;
      }
    }
  }
  EXPECT_GT(plotted, 10);
  p.state->Elements = design;
  p.state->Elements.kab = 0;
  Click(w.Bfplot);
  EXPECT_TRUE(MemoLines(p.form1).last().startsWith("Largest gain=        0.00000 at"))
      << MemoLines(p.form1).last().toStdString();
  EXPECT_EQ(w.Chart->Gain->count(), 0);
  EXPECT_EQ(w.Chart->Impedance->count(), 1000);
}
