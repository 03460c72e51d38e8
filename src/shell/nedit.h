#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <string>

#include "shell/real.h"

namespace kovaro {

enum tipo_campo { real_field = 0, int_field = 1, text_field = 2 };

// The numeric entry field: a line edit that also holds a real and an integer value. Its text
// counts only when focus leaves it; the program reads the stored values, never the text.
class TNEdit : public QLineEdit {
 public:
  explicit TNEdit(QWidget* parent = nullptr);

  Real panel_real() const { return panel_real_; }
  int32_t panel_int() const { return panel_int_; }
  tipo_campo field_type() const { return field_type_; }

  // Store the value; the text follows when the field is of the matching kind.
  void setPanelReal(Real value);
  void setPanelInt(int32_t value);
  void setFieldType(tipo_campo kind);

  // A caption that a refusal names; without one the refusal is the typed text alone.
  void setCaption(const QString& caption) { caption_ = caption; }
  const QString& caption() const { return caption_; }

  // Parses the text into the value of the field's kind, or throws InvalidNumber and keeps
  // the value and the text.
  void ValidateOnExit();

  // Called after every set of a value and every validation, for a window that keeps the
  // value in another form (a length in metres).
  void setValueStored(std::function<void()> stored) { stored_ = std::move(stored); }

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // A value's text, set by the program.
  void Show(const std::string& text);

  Real panel_real_ = 0;
  int32_t panel_int_ = 0;
  tipo_campo field_type_ = real_field;
  QString caption_;
  std::function<void()> stored_;
};

// A field as a window definition gives it: the properties Text, panel_real, panel_int and
// field_type applied in this order, then its name and place.
TNEdit* MakeField(QWidget* parent, const char* name, int x, int y, int width, Real real_value,
                  int32_t int_value = 0, tipo_campo kind = real_field);

// A caption and its field after it, the field named by it in its refusals.
TNEdit* MakeCaptionedField(QWidget* parent, const QString& caption, int label_x, const char* name, int x,
                           int y, int width, Real real_value, int32_t int_value = 0,
                           tipo_campo kind = real_field);

}  // namespace kovaro
