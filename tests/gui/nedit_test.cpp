#include "shell/nedit.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QVBoxLayout>

#include "gui_helpers.h"

using namespace kovaro;

namespace {

struct FieldWindow {
  FieldWindow() {
    auto* layout = new QVBoxLayout(&window);
    real = MakeField(&window, "real", 0, 0, 80, 2);
    integer = MakeField(&window, "integer", 0, 0, 80, 0, 7, int_field);
    next = new QPushButton(QStringLiteral("next"), &window);
    layout->addWidget(real);
    layout->addWidget(integer);
    layout->addWidget(next);
    Activate(&window);
  }
  // Types the text and leaves the field; returns the error boxes shown.
  std::vector<std::string> Enter(TNEdit* field, const QString& text) {
    ErrorRecorder boxes;
    Type(field, text);
    Leave(field);
    return boxes.texts;
  }
  QWidget window;
  TNEdit* real;
  TNEdit* integer;
  QPushButton* next;
};

}  // namespace

TEST(TNEdit, RealTextIsKeptAsTypedUntilAValueIsSet) {
  FieldWindow w;
  EXPECT_EQ(w.real->text(), "2");
  EXPECT_TRUE(w.Enter(w.real, "1e-6").empty());
  EXPECT_EQ(w.real->panel_real(), 1E-6L);
  EXPECT_EQ(w.real->text(), "1e-6");
  w.real->setPanelReal(1E-6L);
  EXPECT_EQ(w.real->text(), "1E-6");
  EXPECT_TRUE(w.Enter(w.real, " 12").empty());
  EXPECT_EQ(w.real->panel_real(), 12);
  EXPECT_EQ(w.real->text(), " 12");
}

TEST(TNEdit, RefusedRealTextsKeepTheOldValueAndTheText) {
  FieldWindow w;
  const std::pair<QString, std::string> cases[] = {{"12 ", "12  is not a valid number."},
                                                   {"", " is not a valid number."},
                                                   {"1,5", "1,5 is not a valid number."},
                                                   {"1.5.2", "1.5.2 is not a valid number."}};
  for (const auto& [typed, message] : cases) {
    EXPECT_EQ(w.Enter(w.real, typed), std::vector<std::string>{message});
    EXPECT_EQ(w.real->panel_real(), 2);
    EXPECT_EQ(w.real->text(), typed);
  }
}

TEST(TNEdit, IntegerTexts) {
  FieldWindow w;
  EXPECT_EQ(w.integer->text(), "7");
  const std::pair<QString, int32_t> accepted[] = {
      {"$10", 16}, {"0x1F", 31}, {"-2147483648", -2147483647 - 1}};
  for (const auto& [typed, value] : accepted) {
    EXPECT_TRUE(w.Enter(w.integer, typed).empty()) << typed.toStdString();
    EXPECT_EQ(w.integer->panel_int(), value);
  }
  for (const QString typed : {"2147483648", "3.0", "1e3"}) {
    EXPECT_EQ(w.Enter(w.integer, typed),
              std::vector<std::string>{typed.toStdString() + " is not a valid number."});
    EXPECT_EQ(w.integer->panel_int(), -2147483647 - 1);
  }
}

TEST(TNEdit, SettersFollowTheFieldKind) {
  TNEdit field;
  EXPECT_EQ(field.text(), "");
  EXPECT_EQ(field.field_type(), real_field);
  field.setPanelInt(5);  // not the field's kind: the text stays
  EXPECT_EQ(field.text(), "");
  field.setPanelReal(0.5L);
  EXPECT_EQ(field.text(), "0.5");
  field.setFieldType(int_field);
  EXPECT_EQ(field.text(), "5");
  field.setPanelReal(3);
  EXPECT_EQ(field.text(), "5");
  EXPECT_EQ(field.panel_real(), 3);
  field.setFieldType(text_field);
  field.setText("anything");
  EXPECT_NO_THROW(field.ValidateOnExit());
  EXPECT_EQ(field.panel_int(), 5);
}
