#include "sweep/sweep_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineSeries>
#include <QProgressBar>
#include <cmath>
#include <filesystem>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/format.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "shell/radio_group.h"
#include "simulation/run_host_fake.h"
#include "sweep/sweep_chart.h"

using namespace kovaro;

namespace {

// Lets the window run until its sweep ends, answering events as a user's session would.
void WaitForSweep(TFsweep& w) {
  QElapsedTimer waited;
  waited.start();
  while (w.Running() && waited.elapsed() < 60000) QApplication::processEvents();
}

QString Text(Real v) { return QString::fromStdString(FormatReal(v, 1, -1)).trimmed(); }

}  // namespace

TEST(SweepWindow, SweepsTheInputFrequencyOfALosslessDesign) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  EXPECT_EQ(p.form1.Bsweep->geometry(), QRect(8, 134, 137, 21));
  EXPECT_FALSE(p.sweep);
  Click(p.form1.Bsweep);
  ASSERT_TRUE(p.sweep);
  TFsweep& w = *p.sweep;
  EXPECT_EQ(w.windowTitle(), "Parameter sweep");
  ASSERT_EQ(w.CBparam->count(), kSweptCount);
  EXPECT_EQ(w.CBparam->itemText(0), "Ca (F)");
  EXPECT_EQ(w.CBparam->itemText(12), "Feedback start (s)");

  // Bad input: a box naming the field, nothing run or reported.
  const Real f = p.form1.NEfin->panel_real();
  w.CBparam->setCurrentIndex(static_cast<int>(SweptQuantity::NEfin));
  EXPECT_EQ(w.NEsfrom->panel_real(), f * 0.9L);  // the range starts around the present value
  qsizetype before = MemoLines(p.form1).size();
  {
    ErrorRecorder boxes;
    Enter(w.NEscount, "1");
    Click(w.Bsweeprun);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0].rfind("Points:", 0), 0u) << boxes.texts[0];
    Enter(w.NEscount, "21");
    Enter(w.NEsfrom, "-1");
    Enter(w.NEsto, "2");
    w.CBslog->setChecked(true);
    Click(w.Bsweeprun);
    ASSERT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts[1].rfind("From, To:", 0), 0u) << boxes.texts[1];
    w.CBslog->setChecked(false);
  }
  EXPECT_EQ(MemoLines(p.form1).size(), before);
  EXPECT_FALSE(w.Running());

  // The design's drive: a sine stopped after its 9.75 cycles. Then 21 points over 5 % either
  // side of its input frequency.
  p.form1.RGvin->setItemIndex(static_cast<int>(Waveform::Sine));
  Click(p.form1.Button2);
  before = MemoLines(p.form1).size();
  Enter(w.NEsfrom, Text(f * 0.95L));
  Enter(w.NEsto, Text(f * 1.05L));
  Click(w.Bsweeprun);
  WaitForSweep(w);
  const QStringList report = MemoLines(p.form1).mid(before);
  ASSERT_EQ(report.size(), 24);
  EXPECT_EQ(report[0], "");
  EXPECT_EQ(report[1], "Sweep of Input frequency (Hz):");
  EXPECT_EQ(report[23], QString::fromStdString("Sweep saved as " + p.state->DesignName + ".swp"));
  EXPECT_EQ(w.Progress->value(), 21);
  EXPECT_EQ(w.Chart->Vcb->count(), 21);
  int largest = -1;
  double most = 0;
  for (int i = 0; i < 21; ++i) {
    const QStringList fields = report[2 + i].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(fields.size(), 4) << report[2 + i].toStdString();
    if (std::fabs(fields[1].toDouble()) > most) most = std::fabs(fields[1].toDouble()), largest = i;
  }
  // The design's frequency is the middle point; the peak lies there, give or take a step.
  EXPECT_LE(std::abs(largest - 10), 1) << largest;
  std::string file = ReadFile(p.state->DesignName + ".swp");
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 21);

  // The peak's row is what "Simulate and plot" reports with that frequency entered.
  const Real peak = SweepValue(SweepRange{w.NEsfrom->panel_real(), w.NEsto->panel_real(), 21}, largest);
  p.form1.NEfin->setPanelReal(peak);
  const qsizetype single = MemoLines(p.form1).size();
  Click(p.form1.Bplot);
  const QStringList lines = MemoLines(p.form1).mid(single);
  ASSERT_GE(lines.size(), 6);
  const QStringList row = report[2 + largest].split(' ', Qt::SkipEmptyParts);
  EXPECT_EQ(lines[2].section('=', 1).section(" (", 0, 0).trimmed(), row[1]);
  EXPECT_EQ(lines[4].section('=', 1).trimmed(), row[2]);
  EXPECT_EQ(lines[5].section('=', 1).trimmed(), row[3]);
}

TEST(SweepWindow, CancelStopsAfterTheCurrentRun) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bsweep);
  TFsweep& w = *p.sweep;
  Enter(w.NEscount, "500");
  Click(w.Bsweeprun);
  EXPECT_TRUE(w.Running());
  EXPECT_FALSE(w.Bsweeprun->isEnabled());
  const qsizetype start = MemoLines(p.form1).size();
  // The window answers while the sweep runs: the progress moves between turns.
  while (w.Progress->value() < 3) QApplication::processEvents();
  Click(w.Bsweepcancel);
  const int at_cancel = w.Progress->value();
  WaitForSweep(w);
  EXPECT_EQ(w.Progress->value(), at_cancel);
  EXPECT_LT(at_cancel, 500);
  const QStringList report = MemoLines(p.form1).mid(start);
  ASSERT_EQ(report.size(),
            at_cancel + 4);  // all at the end: the heading, the rows made, the cancel and the file
  EXPECT_EQ(report[report.size() - 2],
            QStringLiteral("Sweep cancelled after %1 of 500 points").arg(at_cancel));
  EXPECT_EQ(report.back(), "Sweep saved as tb373941.swp");
  EXPECT_TRUE(w.Bsweeprun->isEnabled());
  EXPECT_FALSE(w.Bsweepcancel->isEnabled());
}

// Values beyond the range of doubles in every swept quantity, evenly and in equal ratios, and a
// narrow logarithmic sweep before a wide one: each sweep ends, and its chart stays readable.
TEST(SweepWindow, ValuesOfAnySizeKeepTheChartReadable) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  Click(p.form1.Bsweep);
  TFsweep& w = *p.sweep;
  ErrorRecorder boxes;
  Enter(w.NEscount, "3");
  const auto sweep = [&](int quantity, const QString& from, const QString& to, bool logarithmic) {
    w.CBparam->setCurrentIndex(quantity);
    Enter(w.NEsfrom, from);
    Enter(w.NEsto, to);
    w.CBslog->setChecked(logarithmic);
    Click(w.Bsweeprun);
    WaitForSweep(w);
    ExpectDrawable(w.Chart, w.CBparam->currentText().toStdString() + " " + from.toStdString());
  };
  for (int q = 0; q < kSweptCount; ++q) {
    sweep(q, "1e300", "1e320", true);
    sweep(q, "-1e4000", "1e4000", false);
  }
  sweep(static_cast<int>(SweptQuantity::NEfin), "0.9", "1.1", true);
  sweep(static_cast<int>(SweptQuantity::NEfin), "1e-301", "1", true);
  EXPECT_EQ(w.Chart->SweptAxis->categoriesLabels(),
            (QStringList{"1E-300", "1E-250", "1E-200", "1E-150", "1E-100", "1E-50", "1E0"}));
  EXPECT_TRUE(boxes.texts.empty());
}

// Before any circuit a sweep is refused, as "Simulate and plot" is disabled. A design made
// while a sweep runs changes neither the sweep's file nor the rows' place in the report.
TEST(SweepWindow, NeedsACircuitAndKeepsItsRowsUnderTheDesignItStartedWith) {
  ScopedWorkDir dir;
  Program p;
  p.Start();
  Click(p.form1.Bsweep);
  TFsweep& w = *p.sweep;
  {
    ErrorRecorder boxes;
    const qsizetype before = MemoLines(p.form1).size();
    Click(w.Bsweeprun);
    EXPECT_EQ(boxes.texts,
              std::vector<std::string>{"Run sweep needs a circuit: apply the element values or make a "
                                       "design first, as for \"Simulate and plot\""});
    EXPECT_EQ(MemoLines(p.form1).size(), before);
    EXPECT_FALSE(w.Running());
  }
  Click(p.form1.Button3);
  Click(p.flossless.Blossless);
  Activate(&w);
  Enter(w.NEscount, "300");
  Click(w.Bsweeprun);
  while (w.Progress->value() < 3) QApplication::processEvents();
  Activate(&p.form4);
  p.form4.CBupdate->setChecked(true);
  Click(p.form4.Bapply);
  ASSERT_EQ(p.state->DesignName, "tesla89");
  const qsizetype designed = MemoLines(p.form1).size();
  WaitForSweep(w);
  const QStringList report = MemoLines(p.form1).mid(designed);
  ASSERT_EQ(report.size(), 303);
  EXPECT_EQ(report[0], "");
  EXPECT_EQ(report[1], "Sweep of Ca (F):");
  EXPECT_EQ(report.back(), "Sweep saved as tb373941.swp");
  EXPECT_TRUE(std::filesystem::exists("tb373941.swp"));
  EXPECT_FALSE(std::filesystem::exists("tesla89.swp"));
}

// Around the largest input voltage a field holds, the range proposed is one its fields take.
TEST(SweepWindow, ProposesOnlyRangesItsFieldsTake) {
  Program p;
  p.Start();
  Enter(p.form1.NEvin, "1.18e4932");
  Click(p.form1.Bsweep);
  TFsweep& w = *p.sweep;
  w.CBparam->setCurrentIndex(static_cast<int>(SweptQuantity::NEvin));
  EXPECT_EQ(w.NEsto->text(), "1.18973149535723E4932");
  EXPECT_GT(w.NEsto->panel_real(), w.NEsfrom->panel_real());
  ErrorRecorder boxes;
  Leave(w.NEsto);
  EXPECT_TRUE(boxes.texts.empty());
}
