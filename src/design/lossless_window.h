#pragma once

#include <QWidget>

#include "design/lossless.h"
#include "state/app_state.h"

class QCheckBox;
class QPushButton;

namespace kovaro {

class RadioGroup;
class TForm1;
class TForm3;
class TNEdit;

// "Lossless design": resonances and input frequency in a ratio k:l:m.
class TFlossless : public QWidget {
 public:
  TFlossless(AppState& state, TForm1& main, TForm3& elements);

  void BlosslessClick();

  // The window's fields and the main window values a design reads.
  LosslessInputs Read() const;

  TNEdit* NEk;
  TNEdit* NEl;
  TNEdit* NEm;
  TNEdit* NECa;
  TNEdit* NELb;
  TNEdit* NECb;
  RadioGroup* RGfin;
  QCheckBox* CBsspp;
  QPushButton* Blossless;

 private:
  AppState& state_;
  TForm1& main_;
  TForm3& elements_;
};

}  // namespace kovaro
