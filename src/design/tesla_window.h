#pragma once

#include <QWidget>

#include "design/tesla.h"
#include "state/app_state.h"

class QCheckBox;
class QPushButton;

namespace kovaro {

class TForm1;
class TForm3;
class TNEdit;

// "Regular Tesla coil": an ideal coil with resonances in the ratio k:l.
class TForm4 : public QWidget {
 public:
  TForm4(AppState& state, TForm1& main, TForm3& elements);

  void BapplyClick();

  // The window's fields.
  TeslaInputs Read() const;

  TNEdit* NEk;
  TNEdit* NEl;
  TNEdit* NECa;
  TNEdit* NElb;
  TNEdit* NEcb;
  TNEdit* NEtran;
  QCheckBox* CBupdate;
  QPushButton* Bapply;

 private:
  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
};

}  // namespace kovaro
