#include "app/program.h"

#include <QPushButton>

namespace kovaro {

Program::Program()
    : state(std::make_unique<AppState>()),
      form1(*state),
      form2(*state, form1),
      form3(state->Elements, form1.Bplot),
      flossless(*state, form1, form3),
      flossy(*state, form1, form3),
      form4(*state, form1, form3) {
  form1.SetWindows(&form2, &form3, &flossless, &flossy, &form4);
  QObject::connect(form1.Bgeometry, &QPushButton::clicked, &form1, [this] { ShowWindow(&Geometry()); });
  QObject::connect(form1.Bfrequency, &QPushButton::clicked, &form1, [this] { ShowWindow(&Frequency()); });
  QObject::connect(form1.Bsweep, &QPushButton::clicked, &form1, [this] { ShowWindow(&SweepWindow()); });
}

TFgeometry& Program::Geometry() {
  if (!geometry) geometry = std::make_unique<TFgeometry>(*state, form1, form3, flossless, flossy, form4);
  return *geometry;
}

TFfrequency& Program::Frequency() {
  if (!frequency) frequency = std::make_unique<TFfrequency>(*state, form1);
  return *frequency;
}

TFsweep& Program::SweepWindow() {
  if (!sweep) sweep = std::make_unique<TFsweep>(*state, form1);
  return *sweep;
}

void Program::Start() { form1.show(); }

}  // namespace kovaro
