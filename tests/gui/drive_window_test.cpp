#include "drive/drive_window.h"

#include <gtest/gtest.h>

#include "gui_helpers.h"
#include "shell/nedit.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

// The text after the label of the newest report line that starts with it.
QString After(const TForm1& form, const QString& label) {
  const QStringList lines =
      MemoLines(form).filter(QRegularExpression("^" + QRegularExpression::escape(label)));
  return lines.isEmpty() ? QString() : lines.last().mid(label.size());
}

}  // namespace

// A lossless design and its run; a bank of 10 nF, 2000 V, 300 A capacitors. By hand: the run's
// largest |VCa| is 1750.7 V, 1.5 times that is 2626 V, so 2 in series; a string of 2 is 5 nF,
// one string is nearest 5.07 nF, 5 / 5.07 - 1 = -1.38067 %.
TEST(DriveWindow, TheBankOfALosslessDesign) {
  ScopedWorkDir dir;
  Program p;
  LosslessDesign(p);
  EXPECT_EQ(p.form1.Bdrive->geometry(), QRect(160, 328, 100, 25));
  EXPECT_FALSE(p.drive);
  Click(p.form1.Bdrive);
  ASSERT_TRUE(p.drive);
  TFdrive& w = *p.drive;
  EXPECT_EQ(w.windowTitle(), "Drive and bank");
  {
    ErrorRecorder boxes;
    const qsizetype before = MemoLines(p.form1).size();
    Click(w.Bdcalc);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{
                               "Drive and bank needs a completed run: press \"Simulate and plot\" first."});
    EXPECT_EQ(MemoLines(p.form1).size(), before);
  }
  Activate(&p.form1);
  Click(p.form1.Bplot);
  Activate(&w);
  Enter(w.NEdcap, "10e-9");
  Enter(w.NEdvr, "2000");
  Enter(w.NEdir, "300");
  Click(w.Bdcalc);
  EXPECT_TRUE(MemoLines(p.form1).contains("Drive and bank:"));
  EXPECT_EQ(After(p.form1, "Largest |VCa| of the run=").trimmed().left(6), "1750.7");
  EXPECT_EQ(After(p.form1, "Capacitors in series="), "2");
  EXPECT_EQ(After(p.form1, "Strings in parallel="), "1");
  EXPECT_EQ(After(p.form1, "Bank capacitance="), " 5.000000E-0009 F");
  EXPECT_EQ(After(p.form1, "Bank capacitance against Ca="), "  -1.38067 %");
  // The string carries the whole primary current: 16.39 A peak, 5.46 % of 300 A.
  EXPECT_EQ(After(p.form1, "Peak current per string=").trimmed().left(4), "16.3");
  EXPECT_EQ(After(p.form1, "Peak current per string against its rating=").trimmed().left(4), "5.46");

  // The streamers' load applied: Cb and Rb in the elements and the element window.
  const Real cb = p.state->Elements.Cb;
  Enter(w.NEdslen, "2");
  Click(w.Bdapply);
  EXPECT_NEAR(p.state->Elements.Cb, cb + 6.6e-12L, 1e-24L);
  EXPECT_EQ(p.form3.NEcb->panel_real(), p.state->Elements.Cb);
  EXPECT_EQ(p.form3.NErb->panel_real(), 220000);
}
