#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

TEST(DesignWindows, LosslessDesignThenSimulate) {
  ScopedWorkDir dir;
  Program p;
  p.Start();
  Click(p.form1.Button3);
  ASSERT_TRUE(p.flossless.isVisible());
  const qsizetype before = MemoLines(p.form1).size();
  Click(p.flossless.Blossless);
  const QStringList report = MemoLines(p.form1).mid(before);
  EXPECT_EQ(report[0], "");
  EXPECT_EQ(report[2], "Perfect energy transfer in  9.75 cycles with sinusoidal input:");
  EXPECT_EQ(report[9], "La=  58.4562648953 uH");
  EXPECT_EQ(report[13], "Value list saved as tb373941.val");
  EXPECT_EQ(report.last(), "Approximate maximum off-state driver voltage:  458.3662361047 V");
  EXPECT_FALSE(p.flossless.isVisible());
  EXPECT_TRUE(p.form1.Bplot->isEnabled());
  EXPECT_EQ(p.form1.RGvin->itemIndex(), 0);
  EXPECT_EQ(p.form1.NEfin->text(), "294273.208510751");
  EXPECT_EQ(p.form3.NEla->text(), "5.84562648952893E-5");
  EXPECT_EQ(p.form3.NErb->text(), "500000");
  EXPECT_EQ(p.form3.NEca->text(), "5.07E-9");
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "tb373941.val"));

  // The run shows the designed transfer: VCb close to 180 V times the reported gain.
  Click(p.form1.Bplot);
  const QString vcb = MemoLines(p.form1).filter("Maximum VCb (V)=").last();
  const Real peak = std::fabs(vcb.mid(16, 15).trimmed().toDouble());
  EXPECT_NEAR(peak / (180 * 429.9818310115L), 1, 0.005) << vcb.toStdString();
}

TEST(DesignWindows, LossyActionsAsTyped) {
  ScopedWorkDir dir;
  Program p;
  p.Start();
  Click(p.form1.Blossy);
  ErrorRecorder boxes;
  Enter(p.flossy.NEiin, "0");
  qsizetype before = MemoLines(p.form1).size();
  Click(p.flossy.Bdesign);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Floating point division by zero."});
  EXPECT_EQ(MemoLines(p.form1).mid(before), QStringList{""});
  EXPECT_TRUE(p.flossy.isVisible());
  EXPECT_EQ(p.state->DesignName, "");

  Enter(p.flossy.NEiin, "100");
  Click(p.flossy.Button2);  // "Set"
  EXPECT_EQ(p.flossy.NEb->text(), "2579.2162571284");
  EXPECT_EQ(p.flossy.NEn->text(), "975.668712644545");
  EXPECT_FALSE(p.form1.Bplot->isEnabled());
  Click(p.flossy.Bdesign);
  EXPECT_EQ(p.state->DesignName, "td116");
  EXPECT_EQ(MemoLines(p.form1).last(), "Peak energy in Cb at steady state:    1.0000000000 J");
  EXPECT_EQ(p.form3.NEcb->text(), "4E-11");
  EXPECT_TRUE(p.form1.Bplot->isEnabled());
  EXPECT_FALSE(p.flossy.isVisible());

  Click(p.form1.Blossy);
  p.flossy.RGdesign->setItemIndex(1);
  Click(p.flossy.Button1);  // "Design from elements"
  EXPECT_EQ(p.state->DesignName, "tse7");
  EXPECT_EQ(p.form1.NEfin->text(), "293886.006752904");
  EXPECT_TRUE(boxes.texts.size() == 1);
}

TEST(DesignWindows, RegularTeslaCoil) {
  Program p;
  p.Start();
  p.form1.CBnoload->setChecked(false);
  Click(p.form1.Button1);
  ErrorRecorder boxes;
  Enter(p.form4.NEtran, "0");
  Click(p.form4.Bapply);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Floating point division by zero."});
  EXPECT_EQ(p.form3.NEkab->text(), "0.117241379310345");  // the fields hold the design
  EXPECT_TRUE(p.form1.Bplot->isEnabled());
  EXPECT_EQ(p.state->Elements.kab, 0);  // the element set does not
  EXPECT_FALSE(p.form1.CBnoload->isChecked());
  EXPECT_TRUE(p.form4.isVisible());

  Enter(p.form4.NEtran, "1");
  Enter(p.form4.NEl, "10");
  qsizetype before = MemoLines(p.form1).size();
  Click(p.form4.Bapply);
  EXPECT_EQ(MemoLines(p.form1).mid(before), QStringList{"The multipliers must have odd differences"});

  Enter(p.form4.NEl, "9");
  Click(p.form4.Bapply);
  EXPECT_TRUE(MemoLines(p.form1).contains("L1=   58.6804733728 \u00B5H"));
  EXPECT_EQ(p.form1.NEfin->text(), "34506.8927882335");
  EXPECT_TRUE(p.form1.CBnoload->isChecked());
  EXPECT_EQ(p.state->DesignName, "tesla89");
  EXPECT_FALSE(p.form4.isVisible());
}

TEST(DesignWindows, RefusedValueListShowsTheFileError) {
  Program p;
  p.Start();
  Click(p.form1.Button3);
  ErrorRecorder boxes;
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path("/sys");
  Click(p.flossless.Blossless);
  std::filesystem::current_path(old);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"File access denied."});
  EXPECT_TRUE(p.flossless.isVisible());
  EXPECT_FALSE(p.form1.Bplot->isEnabled());
  EXPECT_EQ(p.form3.NEla->text(), "1.05E-5");
  EXPECT_EQ(MemoLines(p.form1).last(), "kab=   0.1021618888");
}
