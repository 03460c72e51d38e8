#include "shell/program.h"

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
}

void Program::Start() { form1.show(); }

}  // namespace kovaro
