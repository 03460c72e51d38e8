#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "app/program.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"

using namespace kovaro;

namespace {

// The lines the report area gained since `before` lines.
QStringList NewLines(const TForm1& form, qsizetype before) { return MemoLines(form).mid(before); }

// Starts the program and applies the element window's values, as a first use does.
void StartWithElements(Program& p) {
  p.Start();
  Click(p.form1.Belements);
  Click(p.form3.Bchange);
}

}  // namespace

TEST(Program, StartsWithOnlyTheMainWindow) {
  Program p;
  p.Start();
  EXPECT_TRUE(p.form1.isVisible());
  for (QWidget* w : std::initializer_list<QWidget*>{&p.form2, &p.form3, &p.flossless, &p.flossy, &p.form4}) {
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  }
  const char* names[] = {"TForm1", "TForm2", "TForm3", "TFlossless", "TFlossy", "TForm4"};
  const QWidget* windows[] = {&p.form1, &p.form2, &p.form3, &p.flossless, &p.flossy, &p.form4};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(windows[i]->objectName(), names[i]);
  EXPECT_EQ(p.form2.pos(), QPoint(329, 301));
  EXPECT_EQ(p.form1.windowTitle(), "Kovaro");
  EXPECT_EQ(p.form2.windowTitle(), "Time response");
  EXPECT_EQ(p.form3.windowTitle(), "Element values");
  EXPECT_EQ(p.flossless.windowTitle(), "Lossless design");
  EXPECT_EQ(p.flossy.windowTitle(), "Lossy design");
  EXPECT_EQ(p.form4.windowTitle(), "Regular Tesla coil");
  EXPECT_FALSE(p.form1.Bplot->isEnabled());
  EXPECT_FALSE(p.form1.bref->isEnabled());
  EXPECT_FALSE(p.form1.bdelref->isEnabled());
  const QStringList memo = MemoLines(p.form1);
  EXPECT_EQ(memo[0], "Kovaro");
  EXPECT_EQ(memo[1], "");
  EXPECT_GE(memo.size(), 80);
  EXPECT_TRUE(memo.contains("The program doesn't verify the parity of the multipliers."));
  EXPECT_TRUE(memo.contains("input can be plotted. Use the mouse to mark a region to zoom"));
  EXPECT_EQ(p.form1.Memo1->font().family(), "Courier New");
  EXPECT_EQ(p.form1.Memo1->geometry(), QRect(8, 368, 705, 257));
  EXPECT_EQ(p.form2.PaintBox1->size(), QSize(528, 318));
  EXPECT_EQ(p.form2.StatusBar1->geometry().top(), 318);

  // The buttons show the other windows; closing them only hides them.
  Click(p.form1.Belements);
  EXPECT_TRUE(p.form3.isVisible());
  p.form3.close();
  EXPECT_FALSE(p.form3.isVisible());
  Click(p.form1.Button3);
  Click(p.form1.Blossy);
  Click(p.form1.Button1);
  EXPECT_TRUE(p.flossless.isVisible() && p.flossy.isVisible() && p.form4.isVisible());
}

TEST(Program, WindowsStartFromTheirInputsDefaults) {
  Program p;
  EXPECT_EQ(p.form1.ReadSettings(), SimulationSettings{});
  EXPECT_EQ(p.flossless.Read(), LosslessInputs{});
  EXPECT_EQ(p.flossy.Read(), LossyInputs{});
  EXPECT_EQ(p.form4.Read(), TeslaInputs{});
}

TEST(Program, ControlsCarryTheirNamesCaptionsAndDefaults) {
  Program p;
  p.Start();
  const std::pair<const char*, const char*> fields[] = {
      {"NEvin", "180"},      {"NEfin", "300000"},  {"NEtmax", "0.0001"}, {"NEvmax", "200000"},
      {"NEpontos", "10000"}, {"NEstart", "1E-6"},  {"NEtempo", "1"},     {"NEmult", "2"},
      {"NEropen", "10000"},  {"NEcycles", "9.75"}, {"NEatraso", "2E-6"}, {"NEvd", "0.8"},
      {"NEila", "1000"},     {"NEvca", "1"},       {"Nevla", "10"},      {"NEilb", "1000"},
      {"NEvcb", "1"},        {"NEv", "10"},        {"NEoila", "0"},      {"NEovca", "0"},
      {"NEovla", "0"},       {"NEoilb", "0"},      {"NEovcb", "0"},      {"NEovin", "0"}};
  for (const auto& [name, text] : fields) {
    const auto* field = p.form1.findChild<TNEdit*>(name);
    ASSERT_NE(field, nullptr) << name;
    EXPECT_EQ(field->text(), text) << name;
  }
  EXPECT_EQ(p.form1.NEpontos->field_type(), int_field);
  EXPECT_EQ(p.form1.NEfin->pos(), QPoint(272, 16));
  EXPECT_EQ(p.form1.NEcycles->pos(), QPoint(464, 112));
  EXPECT_EQ(p.form1.findChild<TNEdit*>("Nevla"), p.form1.Scales[VLa]);
  const std::pair<const char*, bool> checks[] = {
      {"CBoffset", false}, {"CBdetails", false}, {"CBtrapezoidal", true}, {"CBescala", false},
      {"CBnoload", true},  {"CBsegue", false},   {"CBsalvar", false},     {"CBVin", true},
      {"CBVCa", true},     {"CBILa", true},      {"CBVcb", true},         {"CBILb", true},
      {"CBVLa", true}};
  for (const auto& [name, ticked] : checks) {
    const auto* box = p.form1.findChild<QCheckBox*>(name);
    ASSERT_NE(box, nullptr) << name;
    EXPECT_EQ(box->isChecked(), ticked) << name;
  }
  const std::pair<const char*, const char*> buttons[] = {
      {"Blossy", "Lossy design"},      {"Button3", "Lossless design"}, {"Button1", "Regular Tesla coil"},
      {"Belements", "Edit elements"},  {"Bplot", "Simulate and plot"}, {"bref", "Save reference"},
      {"bdelref", "Delete reference"}, {"Button2", "Set stop time to"}};
  for (const auto& [name, caption] : buttons) {
    const auto* button = p.form1.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_EQ(button->text(), caption);
  }
  EXPECT_EQ(p.form1.RGvin->itemIndex(), 2);
  EXPECT_EQ(p.form1.RGvin->item(2)->text(), "Squared sine");
  EXPECT_EQ(p.form1.RGvin->item(1)->x(), p.form1.RGvin->item(0)->x());  // two columns
  EXPECT_GT(p.form1.RGvin->item(2)->x(), p.form1.RGvin->item(0)->x());
  EXPECT_EQ(p.form1.RGstop->itemIndex(), 2);
  EXPECT_EQ(p.form1.RGstop->item(2)->text(), "Open w/free-wheeling diodes");
  EXPECT_EQ(p.form1.NEropen->toolTip(), "Across open driver. Too high values cause numerical instability!");

  const std::pair<const char*, const char*> elements[] = {
      {"NEca", "2.72E-8"}, {"NEla", "1.05E-5"}, {"NElb", "0.0358"}, {"NEcb", "7.86E-12"}, {"NEkab", "0.117"},
      {"NERla", "0"},      {"NERlb", "0"},      {"NErin", "0"},     {"NErb", "573000"}};
  for (const auto& [name, text] : elements) {
    const auto* field = p.form3.findChild<TNEdit*>(name);
    ASSERT_NE(field, nullptr) << name;
    EXPECT_EQ(field->text(), text) << name;
  }
  EXPECT_EQ(p.form3.Bchange->text(), "Apply");
}

TEST(Program, ApplyCopiesTheFieldsAndEnablesSimulation) {
  Program p;
  StartWithElements(p);
  const ElementSet& e = p.state->Elements;
  EXPECT_EQ(e.Ca, 2.72E-8L);
  EXPECT_EQ(e.La, 1.05E-5L);
  EXPECT_EQ(e.Lb, 0.0358L);
  EXPECT_EQ(e.Cb, 7.86E-12L);
  EXPECT_EQ(e.kab, 0.117L);
  EXPECT_EQ(e.Rb, 573000);
  EXPECT_EQ(e.RLa + e.RLb + e.Rin, 0);
  EXPECT_FALSE(p.form3.isVisible());
  EXPECT_TRUE(p.form1.Bplot->isEnabled());

  // Tab leads from kab to Rb and Apply, then to the three resistances.
  Activate(&p.form3);
  p.form3.NEkab->setFocus(Qt::MouseFocusReason);
  const std::vector<QWidget*> order{p.form3.NErb, p.form3.Bchange, p.form3.NERla, p.form3.NERlb,
                                    p.form3.NErin};
  for (QWidget* next : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

TEST(Program, SimulateAndPlotWritesTheReport) {
  Program p;
  StartWithElements(p);
  const qsizetype before = MemoLines(p.form1).size();
  Click(p.form1.Bplot);
  const QStringList expected{"Maximum VCa (V)=     1948.48198 (   0.05163 J) at        99.82998 us",
                             "Maximum ILa (A)=       99.88922 (   0.05238 J) at        70.69707 us",
                             "Maximum VCb (V)=   227724.88317 (   0.20380 J) at        27.47275 us",
                             "Maximum ILb (A)=        3.37432 (   0.20381 J) at        28.30283 us",
                             "Maximum voltage gain obtained=    1265.13824",
                             "Ratio of maximum energies in the capacitors=   3.94713"};
  EXPECT_EQ(NewLines(p.form1, before), expected);
  EXPECT_TRUE(p.form1.bref->isEnabled());
  EXPECT_TRUE(p.form2.isVisible());

  // "Save reference" and "Delete reference".
  Click(p.form1.bref);
  EXPECT_TRUE(p.form1.bdelref->isEnabled());
  EXPECT_EQ(p.state->Store.ReferenceCount, 10000);
  Click(p.form1.bdelref);
  EXPECT_FALSE(p.form1.bdelref->isEnabled());
}

TEST(Program, RunsThatStopEarly) {
  Program p;
  StartWithElements(p);
  ErrorRecorder boxes;

  p.form1.NEpontos->setPanelInt(1000);
  qsizetype before = MemoLines(p.form1).size();
  Click(p.form1.Bplot);
  EXPECT_EQ(NewLines(p.form1, before), QStringList{"Too few points."});
  EXPECT_FALSE(p.form1.bref->isEnabled());

  p.form1.NEpontos->setPanelInt(60000);
  Click(p.form1.Bplot);
  EXPECT_EQ(p.form1.NEpontos->text(), "50000");
  EXPECT_EQ(p.state->Store.SampleCount, 50000);

  Click(p.form1.Belements);
  p.form3.NEkab->setPanelReal(1);
  Click(p.form3.Bchange);
  before = MemoLines(p.form1).size();
  Click(p.form1.Bplot);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Floating point division by zero."});
  EXPECT_EQ(MemoLines(p.form1).size(), before);
}

TEST(Program, RefusedFieldTextLeavesTheOldValueInUse) {
  Program p;
  StartWithElements(p);
  ErrorRecorder boxes;
  Type(p.form1.NEvin, "12a");
  Click(p.form1.Bplot);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"12a is not a valid number."});
  EXPECT_EQ(p.form1.NEvin->text(), "12a");
  EXPECT_EQ(p.form1.NEvin->panel_real(), 180);
  Click(p.form1.Bplot);
  EXPECT_EQ(MemoLines(p.form1).last(), "Ratio of maximum energies in the capacitors=   3.94713");
  EXPECT_TRUE(MemoLines(p.form1).contains("Maximum voltage gain obtained=    1265.13824"));
}

TEST(Program, SetStopTime) {
  Program p;
  p.Start();
  ErrorRecorder boxes;
  Click(p.form1.Button2);
  EXPECT_EQ(p.form1.NEtempo->text(), "3.25E-5");
  EXPECT_EQ(p.form1.NEtempo->panel_real(), 9.75L / 300000);
  p.form1.NEtempo->setPanelReal(1);
  p.form1.NEfin->setPanelReal(0);
  Click(p.form1.Button2);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Floating point division by zero."});
  EXPECT_EQ(p.form1.NEtempo->text(), "1");
}
