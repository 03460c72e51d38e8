// Hostile use of every window: odd texts in every numeric field, every button pressed with
// extreme field values. Each action completes or ends with one of the program's messages.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <set>

#include "app/program.h"
#include "app/project_actions.h"
#include "gui_helpers.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "simulation/run_host_fake.h"

using namespace kovaro;

namespace {

std::vector<QWidget*> Windows(Program& p) {
  return {&p.form1, &p.form2,      &p.form3,       &p.flossless,    &p.flossy,
          &p.form4, &p.Geometry(), &p.Frequency(), &p.SweepWindow()};
}

// The six windows' fields refuse with the text alone; the later ones name themselves.
std::string Refusal(const TNEdit& field, const std::string& typed) {
  if (field.caption().isEmpty()) return typed + " is not a valid number.";
  return field.caption().toStdString() + ": " + (typed.empty() ? "an empty field" : "\"" + typed + "\"") +
         " is not a valid number.";
}

}  // namespace

TEST(Hostile, OddTextsInEveryField) {
  Program p;
  p.Start();
  const QStringList texts{"",    " ",  "-", ".",  "1e99999",      "-1e99999",         "1e-99999", "nan",
                          "inf", "0x", "$", "1e", "\uFF11\uFF12", QString(1000, '7'), "\t12",     "12\n"};
  int fields = 0;
  for (QWidget* window : Windows(p)) {
    for (TNEdit* field : window->findChildren<TNEdit*>()) {
      ++fields;
      for (const QString& text : texts) {
        ErrorRecorder boxes;
        Activate(window);
        field->setFocus(Qt::MouseFocusReason);
        field->setText(text);  // pasted, so that tabs and line ends arrive as text
        const Real real_before = field->panel_real();
        const int32_t int_before = field->panel_int();
        Leave(field);
        const std::string typed = text.toStdString();
        if (field->field_type() == real_field) {
          const auto value = ParseReal(typed);
          if (value) {
            EXPECT_TRUE(boxes.texts.empty());
            EXPECT_EQ(field->panel_real(), *value) << field->objectName().toStdString() << " " << typed;
          } else {
            EXPECT_EQ(boxes.texts, std::vector<std::string>{Refusal(*field, typed)});
            EXPECT_EQ(field->panel_real(), real_before);
          }
        } else {
          const auto value = ParseInt(typed);
          EXPECT_EQ(boxes.texts,
                    value ? std::vector<std::string>{} : std::vector<std::string>{Refusal(*field, typed)});
          EXPECT_EQ(field->panel_int(), value ? *value : int_before);
        }
        EXPECT_EQ(field->text(), text);  // the text stays as it was entered
      }
      field->setPanelReal(1);
      field->setPanelInt(1);
    }
  }
  EXPECT_GT(fields, 50);
}

TEST(Hostile, EveryButtonWithExtremeValues) {
  ScopedWorkDir dir;
  const std::set<std::string> allowed{"Floating point division by zero.", "Invalid floating point operation.",
                                      "Floating point overflow."};
  const std::pair<Real, int32_t> values[] = {{0, 0}, {-1, -1}, {1E4000L, 2147483647}, {1E-4000L, 0}};
  // Projects are saved in the working directory; opening is cancelled.
  const ProjectDialogs old =
      SetProjectDialogs({[](QWidget*, bool saving, const QString&) {
                           return saving ? QStringLiteral("hostile.kovaro") : QString();
                         },
                         [](QWidget*, const QString&) { return UnsavedChoice::Discard; }});
  for (const auto& [real, integer] : values) {
    Program p;
    p.Start();
    ErrorRecorder boxes;
    for (QWidget* window : Windows(p)) {
      for (TNEdit* field : window->findChildren<TNEdit*>()) {
        field->setPanelReal(real);
        field->setPanelInt(integer);
      }
    }
    p.form1.Bplot->setEnabled(true);
    for (QWidget* window : Windows(p)) {
      for (QPushButton* button : window->findChildren<QPushButton*>()) {
        Activate(window);
        // A menu button's popup would wait for a choice.
        if (button->isEnabled() && button->menu() == nullptr) QTest::mouseClick(button, Qt::LeftButton);
      }
    }
    EXPECT_GT(p.form1.Memo1->blockCount(), 90);  // the actions did run and report
    for (const std::string& text : boxes.texts) {
      // A refused input names the field and the rule.
      const bool refused_input = text.find(" must ") != std::string::npos ||
                                 text.find(": ") != std::string::npos ||
                                 text.rfind("Run sweep needs a circuit", 0) == 0;
      EXPECT_TRUE(allowed.count(text) == 1 || refused_input) << text << " with " << static_cast<double>(real);
    }
    p.form2.Repaint();  // whatever the runs left in the view, a paint shows no box
    EXPECT_LE(p.state->Store.SampleCount, kCapacity);
  }
  SetProjectDialogs(old);
  // Every file written went to the working directory, whole.
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.ends_with(".val") || name.ends_with(".tab") || name.ends_with(".cir") ||
                name.ends_with(".kovaro") || name.ends_with(".swp") || name.ends_with(".txt"))
        << name;
  }
  EXPECT_TRUE(std::filesystem::exists("hostile.kovaro"));
}

TEST(Hostile, TheLaterWindowsFieldsNameThemselves) {
  Program p;
  p.Start();
  ErrorRecorder boxes;
  const std::pair<TNEdit*, const char*> fields[] = {{p.Geometry().NEsd, "Diameter (m)"},
                                                    {p.Geometry().NEpn, "Turns of the primary"},
                                                    {p.Frequency().NEflo, "From (Hz)"},
                                                    {p.SweepWindow().NEscount, "Points"}};
  for (const auto& [field, caption] : fields) {
    Enter(field, "");
    Enter(field, "12a");
  }
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{
                             "Diameter (m): an empty field is not a valid number.",
                             "Diameter (m): \"12a\" is not a valid number.",
                             "Turns of the primary: an empty field is not a valid number.",
                             "Turns of the primary: \"12a\" is not a valid number.",
                             "From (Hz): an empty field is not a valid number.",
                             "From (Hz): \"12a\" is not a valid number.",
                             "Points: an empty field is not a valid number.",
                             "Points: \"12a\" is not a valid number.",
                         }));
  // The element window's, as its documentation says: the text alone.
  Enter(p.form3.NEca, "");
  EXPECT_EQ(boxes.texts.back(), " is not a valid number.");
}
