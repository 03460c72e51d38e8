#include "shell/nedit.h"

#include <QFocusEvent>

#include "shell/error_box.h"
#include "shell/format.h"
#include "shell/messages.h"
#include "shell/numeric_text.h"
#include "shell/widgets.h"

namespace kovaro {

TNEdit::TNEdit(QWidget* parent) : QLineEdit(parent) {}

void TNEdit::setPanelReal(Real value) {
  panel_real_ = value;
  if (field_type_ == real_field) Show(GeneralText(value));
  if (stored_) stored_();
}

void TNEdit::setPanelInt(int32_t value) {
  panel_int_ = value;
  if (field_type_ == int_field) Show(FormatInt(value));
  if (stored_) stored_();
}

void TNEdit::setFieldType(tipo_campo kind) {
  field_type_ = kind;
  if (kind == real_field) Show(GeneralText(panel_real_));
  if (kind == int_field) Show(FormatInt(panel_int_));
}

void TNEdit::Show(const std::string& text) {
  setText(QString::fromStdString(text));
  // From the first character: a text wider than the field must not show only its end.
  setCursorPosition(0);
}

void TNEdit::ValidateOnExit() {
  if (field_type_ == text_field) return;
  const std::string typed = text().toStdString();
  const auto refuse = [&] {
    if (caption_.isEmpty()) throw InvalidNumber(typed);
    throw InvalidNumber(caption_.toStdString(), typed);
  };
  if (field_type_ == real_field) {
    const auto value = ParseReal(typed);
    if (!value) refuse();
    panel_real_ = *value;
  } else {
    const auto value = ParseInt(typed);
    if (!value) refuse();
    panel_int_ = *value;
  }
  if (stored_) stored_();
}

void TNEdit::focusOutEvent(QFocusEvent* event) {
  // Focus leaves the field only when another control takes it; a window that merely loses
  // activation (to another window, or to the error box itself) keeps its field's text pending.
  const bool leaves =
      event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
  if (leaves && !Guarded(window(), [this] { ValidateOnExit(); })) return;
  QLineEdit::focusOutEvent(event);
}

TNEdit* MakeField(QWidget* parent, const char* name, int x, int y, int width, Real real_value,
                  int32_t int_value, tipo_campo kind) {
  auto* field = new TNEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setText(QString());
  field->setPanelReal(real_value);
  field->setPanelInt(int_value);
  field->setFieldType(kind);
  field->setGeometry(x, y, width, 21);
  return field;
}

TNEdit* MakeCaptionedField(QWidget* parent, const QString& caption, int label_x, const char* name, int x,
                           int y, int width, Real real_value, int32_t int_value, tipo_campo kind) {
  MakeLabel(parent, caption, label_x, y);
  TNEdit* field = MakeField(parent, name, x, y, width, real_value, int_value, kind);
  field->setCaption(caption);
  return field;
}

}  // namespace kovaro
