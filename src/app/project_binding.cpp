#include "app/project_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "app/program.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"

namespace kovaro {
namespace {

QWidget& WindowOf(Program& p, const char* name) {
  const std::string window = name;
  if (window == "TForm1") return p.form1;
  if (window == "TForm3") return p.form3;
  if (window == "TFlossless") return p.flossless;
  if (window == "TFlossy") return p.flossy;
  if (window == "TForm4") return p.form4;
  if (window == "TFgeometry") return p.Geometry();
  if (window == "TFfrequency") return p.Frequency();
  if (window == "TFdrive") return p.Drive();
  return p.SweepWindow();
}

Real& ElementOf(ElementSet& e, const std::string& name) {
  if (name == "Ca") return e.Ca;
  if (name == "La") return e.La;
  if (name == "Lb") return e.Lb;
  if (name == "Cb") return e.Cb;
  if (name == "Rb") return e.Rb;
  if (name == "kab") return e.kab;
  if (name == "RLa") return e.RLa;
  if (name == "RLb") return e.RLb;
  return e.Rin;
}

QObject* ControlOf(Program& p, const ProjectInput& in) {
  return WindowOf(p, in.window).findChild<QObject*>(QString::fromLatin1(in.control));
}

InputValue StateValue(Program& p, const ProjectInput& in) {
  InputValue v;
  const std::string control = in.control;
  if (in.kind == InputKind::Text) {
    v.text = p.state->DesignName;
  } else if (in.kind == InputKind::Check) {
    v.integer = p.form1.Bplot->isEnabled() ? 1 : 0;
  } else {
    v.real = ElementOf(p.state->Elements, control);
  }
  return v;
}

void ApplyState(Program& p, const ProjectInput& in, const InputValue& v) {
  if (in.kind == InputKind::Text) {
    p.state->DesignName = v.text;
  } else if (in.kind == InputKind::Check) {
    p.form1.Bplot->setEnabled(v.integer != 0);
  } else {
    ElementOf(p.state->Elements, in.control) = v.real;
  }
}

}  // namespace

Project CollectProject(Program& p) {
  Project project;
  for (const ProjectInput& in : ProjectInputs()) {
    if (*in.window == '\0') {
      project[in.key] = StateValue(p, in);
      continue;
    }
    QObject* control = ControlOf(p, in);
    InputValue v;
    if (auto* field = dynamic_cast<TNEdit*>(control)) {
      v.real = field->panel_real();
      v.integer = field->panel_int();
      if (in.kind == InputKind::RealValue) v.integer = 0;
      if (in.kind == InputKind::IntValue) v.real = 0;
      v.text = field->text().toStdString();
    } else if (auto* check = dynamic_cast<QCheckBox*>(control)) {
      v.integer = check->isChecked() ? 1 : 0;
    } else if (auto* group = dynamic_cast<RadioGroup*>(control)) {
      v.integer = group->itemIndex();
    } else if (auto* list = dynamic_cast<QComboBox*>(control)) {
      v.integer = list->currentIndex();
    }
    project[in.key] = v;
  }
  return project;
}

void ApplyProject(Program& p, const Project& project) {
  p.Geometry().SetLengthsFollow(true);  // its unit comes first, its lengths in that unit next
  for (const ProjectInput& in : ProjectInputs()) {
    const InputValue& v = project.at(in.key);
    if (*in.window == '\0') {
      ApplyState(p, in, v);
      continue;
    }
    QObject* control = ControlOf(p, in);
    if (auto* field = dynamic_cast<TNEdit*>(control)) {
      if (in.kind == InputKind::RealValue) field->setPanelReal(v.real);
      if (in.kind == InputKind::IntValue) field->setPanelInt(v.integer);
      const QString text = QString::fromStdString(v.text);
      if (field->text() != text) {  // a text typed, not the value's own
        field->setText(text);
        field->setCursorPosition(0);
      }
    } else if (auto* check = dynamic_cast<QCheckBox*>(control)) {
      check->setChecked(v.integer != 0);
    } else if (auto* group = dynamic_cast<RadioGroup*>(control)) {
      group->setItemIndex(v.integer);
    } else if (auto* list = dynamic_cast<QComboBox*>(control)) {
      list->setCurrentIndex(v.integer);
    }
  }
  p.Geometry().SetLengthsFollow(false);
  p.Frequency().KeepRange();
}

}  // namespace kovaro
